#include "shell/credits.h"

#include "media/media_layer.h"
#include "play/screen_fade.h"
#include "play/sprite_font.h"
#include "shell/studio_lines.h"

namespace {

struct CreditRow {
    int x, offset;
    TextAlign align;
    const char* text;
};

// Each role names what made that part of the game: the studio's idea, the language and
// libraries of the code, the generator that draws every picture, composes every track and
// grows every level, and the checks every level passes. The thanks and greetings go to
// the open-source projects the game and its generator are built on.
const CreditRow creditRows[] = {
    {400, 230, AlignCentre, "C r e d i t s"},
    {200, 300, AlignLeft, "Original Idea"},
    {600, 300, AlignRight, "Pelmar Studio"},
    {200, 330, AlignLeft, "Code"},
    {600, 330, AlignRight, "C++20 with SDL2 and pixman"},
    {200, 390, AlignLeft, "Design and Graphics"},
    {600, 390, AlignRight, "Every picture and every track"},
    {600, 420, AlignRight, "made in code by tools/assetgen"},
    {600, 450, AlignRight, "with cairo, FreeType and Vorbis"},
    {200, 510, AlignLeft, "Levels Construction"},
    {600, 510, AlignRight, "Grown from the Server by assetgen"},
    {200, 570, AlignLeft, "Gamedev Support"},
    {600, 570, AlignRight, "Every level solved and counted,"},
    {600, 600, AlignRight, "then played out by the game's rules"},
    {600, 630, AlignRight, "Every screen tested frame by frame"},
    {600, 660, AlignRight, "Every loader fuzzed by libFuzzer"},
    {400, 750, AlignCentre, "Special Thanks"},
    {230, 810, AlignLeft, "SDL"},
    {570, 810, AlignRight, "pixman"},
    {230, 840, AlignLeft, "libpng and libjpeg"},
    {570, 840, AlignRight, "Ogg Vorbis"},
    {400, 900, AlignCentre, "Greetings to the open-source projects"},
    {230, 990, AlignLeft, "cairo and FreeType"},
    {570, 990, AlignRight, "The DejaVu fonts"},
    {230, 1020, AlignLeft, "GoogleTest and CMake"},
    {570, 1020, AlignRight, "Debian and GCC"},
    {170, 1170, AlignLeft, "Pelmar Studio (c) 2006 - thank you for playing!"},
    {630, 1200, AlignRight, GameHomeLine},
};

bool skipRequested(MediaLayer& media) {
    return media.keyDown(Key::Escape) || media.keyDown(Key::Space) || media.keyDown(Key::Enter) ||
           media.mouseDown(MouseButton::Left);
}

void drawCredits(MediaLayer& media, const SpriteFont& font, const Image& logo, float creditsY) {
    media.drawImage(logo, 400, creditsY + 150, 0);
    for (const CreditRow& row : creditRows)
        drawText(media, font, row.x, static_cast<int>(creditsY + static_cast<float>(row.offset)), row.text, row.align);
}

}  // namespace

CreditsEnd runCredits(MediaLayer& media, const SpriteFont& font, const Image& logo, ScreenFade& fade) {
    float creditsY = 600.0f;
    bool leaving = false;
    fade.fadeTarget = 255;
    for (;;) {
        media.clearScreen();
        setFadeColour(media, fade);
        drawCredits(media, font, logo, creditsY);
        media.presentFrame();
        creditsY -= 0.5f;
        stepFade(fade);
        if (media.quitRequested()) return CreditsEnd::EndProgram;
        if (creditsY < -800.0f || skipRequested(media)) leaving = true;
        if (leaving) {
            fade.fadeTarget = 0;
            if (fade.brightness <= 0) return CreditsEnd::BackToMenu;
        }
    }
}
