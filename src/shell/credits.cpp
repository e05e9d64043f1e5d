#include "shell/credits.h"

#include "play/game.h"

namespace {

struct CreditRow {
    int x, offset;
    int align;
    const char* text;
};

const CreditRow creditRows[] = {
    {400, 230, AlignCentre, "C r e d i t s"},
    {200, 300, AlignLeft, "Original Idea"},       {600, 300, AlignRight, "Marta Pelikan"},
    {200, 330, AlignLeft, "Code"},                {600, 330, AlignRight, "Tomas Varga"},
    {200, 390, AlignLeft, "Design and Graphics"}, {600, 390, AlignRight, "Ilona Marek"},
    {600, 420, AlignRight, "Pavel Ruzicka"},      {600, 450, AlignRight, "Nina Sorensen"},
    {200, 510, AlignLeft, "Levels Construction"}, {600, 510, AlignRight, "Marta Pelikan"},
    {200, 570, AlignLeft, "Gamedev Support"},     {600, 570, AlignRight, "Jonas Berg"},
    {600, 600, AlignRight, "Clara Moreau"},       {600, 630, AlignRight, "Igor Lenski"},
    {600, 660, AlignRight, "Ada Novak"},
    {400, 750, AlignCentre, "Special Thanks"},
    {230, 810, AlignLeft, "Our families"},        {570, 810, AlignRight, "The early testers"},
    {230, 840, AlignLeft, "The open tools crew"}, {570, 840, AlignRight, "Every puzzle lover"},
    {400, 900, AlignCentre, "Greetings"},
    {230, 990, AlignLeft, "All network admins"},  {570, 990, AlignRight, "Friends at the studio"},
    {230, 1020, AlignLeft, "Night owls"},          {570, 1020, AlignRight, "You, the player"},
    {170, 1170, AlignLeft, "Pelmar Studio (c) 2006 - thank you for playing!"},
    {630, 1200, AlignRight, "hello@pelmar-studio.example"},
};

bool skipRequested(MediaLayer& media) {
    return media.keyDown(KeyEscape) || media.keyDown(KeySpace) || media.keyDown(KeyEnter) ||
           media.mouseDown(MouseLeft);
}

void drawCredits(MediaLayer& media, const SpriteFont& font, const Image& logo, float creditsY) {
    media.drawImage(logo, 400, creditsY + 150, 0);
    for (const CreditRow& row : creditRows)
        drawText(media, font, row.x, static_cast<int>(creditsY + static_cast<float>(row.offset)), row.text, row.align);
}

}  // namespace

void runCredits(Game& game) {
    MediaLayer& media = game.media;
    float creditsY = 600.0f;
    bool leaving = false;
    game.fade.fadeTarget = 255;
    for (;;) {
        media.clearScreen();
        setFadeColour(media, game.fade);
        drawCredits(media, game.font, *game.res.logo, creditsY);
        media.presentFrame();
        creditsY -= 0.5f;
        stepFade(game.fade);
        if (creditsY < -800.0f || skipRequested(media)) leaving = true;
        if (leaving) {
            game.fade.fadeTarget = 0;
            if (game.fade.brightness <= 0) return;
        }
    }
}
