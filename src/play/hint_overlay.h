#pragma once
// The hint boxes that explain the game on its first levels.

class MediaLayer;
struct HintOverlay;
struct LevelState;
struct ScreenFade;
struct SpriteFont;

// Shows a page from the start: a visible hint is replaced at once.
void showHint(HintOverlay& hint, int page);
// Fades the visible hint in or out by one step and draws its box, title and lines.
void drawHintOverlay(MediaLayer& media, const SpriteFont& font, const ScreenFade& fade, HintOverlay& hint);
// The level-time and virus-clock triggers; once per frame after the rank step.
void stepHintTriggers(LevelState& level, int levelIndex);
