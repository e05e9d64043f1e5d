#include "play/game.h"
#include "shell/help_pages.h"
#include "shell/menu.h"
#include "shell/shell_state.h"

namespace {

constexpr int ButtonCount = 5;
constexpr int ButtonX = 650;
constexpr int FirstButtonY = 200;
constexpr int ButtonPitch = 57;

int buttonY(int index) { return FirstButtonY + ButtonPitch * index; }

bool continueDisabled(const ShellState& shell, int index) { return index == 1 && !shell.savedGamePresent; }

void drawMarquee(Game& game, ShellState& shell) {
    drawText(game, shell.marqueeX, 520, shell.welcomeLine, AlignLeft);
    shell.marqueeX -= 1;
    if (shell.marqueeX < shell.marqueeLoopPoint) shell.marqueeX = 800;
}

void drawBands(Game& game) {
    MediaLayer& media = game.media;
    media.setDrawColour(0, 0, 0);
    media.drawRect(0, 0, 800, 50);
    media.drawRect(0, 550, 800, 50);
    setFadeColour(media, game.fade);
}

void drawButtons(Game& game, ShellState& shell) {
    MediaLayer& media = game.media;
    const int dim = game.fade.brightness / 4;
    for (int i = 0; i < ButtonCount; ++i) {
        if (continueDisabled(shell, i)) media.setDrawColour(dim, dim, dim);
        media.drawImage(*game.res.menuButtons, ButtonX, static_cast<float>(buttonY(i)), i);
        setFadeColour(media, game.fade);
        if (shell.glowLevels[i] > 0) shell.glowLevels[i] -= 0.05f;
    }
}

void drawButtonGlows(Game& game, ShellState& shell) {
    MediaLayer& media = game.media;
    for (int i = 0; i < ButtonCount; ++i) {
        media.setBlendMode(BlendMode::Light);
        media.setDrawAlpha(shell.glowLevels[i]);  // may exceed 1: the layer clamps it
        if (!continueDisabled(shell, i))
            media.drawImage(*game.res.menuButtonsGlow, ButtonX, static_cast<float>(buttonY(i)), i);
        media.setBlendMode(BlendMode::Alpha);
        media.setDrawAlpha(1.0f);
    }
}

void hoverButtons(Game& game, ShellState& shell) {
    const int x = game.input.x, y = game.input.y;
    if (shell.screenState != ScreenState::Menu || !(x > 530 && x < 770 && y > 172 && y < 457)) return;
    game.hoveredControl = (y - 172) / ButtonPitch;
    if (shell.glowLevels[game.hoveredControl] < 1) shell.glowLevels[game.hoveredControl] += 0.2f;
}

}  // namespace

void drawMenuFrame(Game& game, ShellState& shell) {
    MediaLayer& media = game.media;
    media.drawImage(*game.res.menuBack, 400, 300, 0);
    drawMarquee(game, shell);
    drawMenuParticles(game);
    media.drawImage(*game.res.publisherLogo, 10, 440, 0);
    media.drawImage(*game.res.logo, 420, 126, 0);
    drawBands(game);
    drawButtons(game, shell);
    drawButtonGlows(game, shell);
    if (shell.screenState == ScreenState::Help) drawHelpOverlay(game, shell);
    hoverButtons(game, shell);
}
