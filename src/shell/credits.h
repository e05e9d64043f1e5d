#pragma once
// The scrolling credits screen.

class MediaLayer;
struct Image;
struct ScreenFade;
struct SpriteFont;

enum class CreditsEnd { BackToMenu, EndProgram };

// Fades in, scrolls the credits up, and fades out when they are done or skipped. A request
// to end the program ends them at once.
CreditsEnd runCredits(MediaLayer& media, const SpriteFont& font, const Image& logo, ScreenFade& fade);
