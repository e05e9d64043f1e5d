#include "shell/second_copy.h"

#include "play/game.h"
#include "shell/menu.h"
#include "shell/shell_state.h"

const char* const SecondCopyText = "Cablewright is already running for this player";

namespace {

constexpr int PlateHeight = 44;
constexpr int PlateMargin = 24;
constexpr float PlateAlpha = 0.75f;

// A dark plate across the middle of the menu with the text on it, in the fade.
void drawPlate(MediaLayer& media, const SpriteFont& font, const ScreenFade& fade) {
    const int width = textWidth(font, SecondCopyText) + 2 * PlateMargin;
    media.setDrawColour(0, 0, 0);
    media.setDrawAlpha(PlateAlpha);
    media.drawRect(static_cast<float>(ScreenCentreX - width / 2), static_cast<float>(ScreenCentreY - PlateHeight / 2),
                   static_cast<float>(width), PlateHeight);
    media.setDrawAlpha(1.0f);
    setFadeColour(media, fade);
    drawText(media, font, ScreenCentreX, ScreenCentreY - 7, SecondCopyText, AlignCentre);
}

bool dismissed(MediaLayer& media, const InputSample& input) {
    const bool key = media.keyHits(Key::Escape) + media.keyHits(Key::Enter) + media.keyHits(Key::Space) > 0;
    return input.clicked() || key || media.quitRequested();
}

}  // namespace

int refuseSecondCopy(Game& game, ShellState& shell) {
    MediaLayer& media = game.media;
    media.warning(std::string(SecondCopyText) + "; this copy ends without touching the player's files");
    // Buttons are not live and nothing new is spawned, as while the menu fades out.
    shell.screenState = ScreenState::Quit;
    game.fade.fadeTarget = 255;
    for (int frame = 0; frame < SecondCopyFrames; ++frame) {
        game.hoveredControl = NoControl;
        sampleInput(media, game.input);
        media.clearScreen();
        setFadeColour(media, game.fade);
        drawMenuFrame(game, shell);
        drawPlate(media, game.font, game.fade);
        media.setDrawColour(255, 255, 255);
        drawPointer(media, game.res, game.pointer, game.input, false);
        setFadeColour(media, game.fade);
        media.presentFrame();
        stepFade(game.fade);
        if (dismissed(media, game.input)) break;
    }
    return SecondCopyStatus;
}
