#pragma once
// The line that tells the player a save failed, shown until a save of that file works again.
// Nothing is drawn while every save works, so those frames stay as they always were.

struct ProgressFileState;
struct ScreenFade;
struct SpriteFont;
class MediaLayer;

// Across the menu's top band (y 0 to 50, empty otherwise), in the fade; the short form when
// the whole line would not fit the screen's width.
void drawUnsavedLineInMenu(MediaLayer& media, const SpriteFont& font, const ScreenFade& fade,
                           const ProgressFileState& files);
// In play, the short form at the top right: above the largest board (from y 36) and right of
// the hint boxes (to x 430), so it covers no control; it stays lit like the HUD.
void drawUnsavedLineInPlay(MediaLayer& media, const SpriteFont& font, const ProgressFileState& files);
