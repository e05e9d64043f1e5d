#pragma once
// The scrolling credits screen.

class MediaLayer;
struct Image;
struct ScreenFade;
struct SpriteFont;

// Fades in, scrolls the credits up, and fades out when they are done or skipped.
void runCredits(MediaLayer& media, const SpriteFont& font, const Image& logo, ScreenFade& fade);
