#include "play/game.h"
#include "play/unsaved_line.h"
#include "shell/help_pages.h"
#include "shell/menu.h"
#include "shell/menu_layout.h"
#include "shell/options_screen.h"
#include "shell/records_screen.h"
#include "shell/shell_state.h"

namespace {

bool continueDisabled(const ShellState& shell, int button) {
    return button == ContinueButton && !shell.savedGamePresent;
}

void drawMarquee(MediaLayer& media, const SpriteFont& font, ShellState& shell) {
    drawText(media, font, shell.marqueeX, 520, shell.welcomeLine, AlignLeft);
    shell.marqueeX -= 1;
    if (shell.marqueeX < shell.marqueeLoopPoint) shell.marqueeX = ScreenWidth;
}

void drawBands(MediaLayer& media, const ScreenFade& fade) {
    media.setDrawColour(0, 0, 0);
    media.drawRect(0, 0, ScreenWidth, 50);
    media.drawRect(0, ScreenHeight - 50, ScreenWidth, 50);
    setFadeColour(media, fade);
}

void drawButtons(MediaLayer& media, const Image& buttons, const ScreenFade& fade, ShellState& shell) {
    const int dim = fade.brightness / 4;
    for (int i = 0; i < MenuButtonCount; ++i) {
        if (continueDisabled(shell, i)) media.setDrawColour(dim, dim, dim);
        media.drawImage(buttons, MenuButtonX, static_cast<float>(menuButtonY(i)), i);
        setFadeColour(media, fade);
        dimGlow(shell.glowLevels[i]);
    }
}

void drawButtonGlows(MediaLayer& media, const Image& glows, const ShellState& shell) {
    for (int i = 0; i < MenuButtonCount; ++i) {
        media.setBlendMode(BlendMode::Light);
        media.setDrawAlpha(shell.glowLevels[i]);  // may exceed 1: the layer clamps it
        if (!continueDisabled(shell, i)) media.drawImage(glows, MenuButtonX, static_cast<float>(menuButtonY(i)), i);
        media.setBlendMode(BlendMode::Alpha);
        media.setDrawAlpha(1.0f);
    }
}

void hoverButtons(const InputSample& input, ShellState& shell, int& hoveredControl) {
    const int button = menuButtonAt(input.x, input.y);
    if (shell.screenState != ScreenState::Menu || button < 0) return;
    hoveredControl = button;
    brightenGlow(shell.glowLevels[hoveredControl]);
}

// The Records and Options links on the bottom band, glowing like the buttons.
void drawLinks(MediaLayer& media, const SpriteFont& font, const Image& glows, ShellState& shell) {
    static const char* const labels[MenuLinkCount] = {"Records", "Options"};
    for (int link = 0; link < MenuLinkCount; ++link) {
        drawText(media, font, menuLinkX(link), MenuLinkY - 6, labels[link], AlignCentre);
        media.setBlendMode(BlendMode::Light);
        media.setDrawAlpha(shell.linkGlows[static_cast<size_t>(link)]);
        media.drawImage(glows, static_cast<float>(menuLinkX(link)), MenuLinkY, link);
        media.setBlendMode(BlendMode::Alpha);
        media.setDrawAlpha(1.0f);
        dimGlow(shell.linkGlows[static_cast<size_t>(link)]);
    }
}

void hoverLinks(const InputSample& input, ShellState& shell, int& hoveredControl) {
    const int link = menuLinkAt(input.x, input.y);
    if (shell.screenState != ScreenState::Menu || link < 0) return;
    hoveredControl = linkControl(link);
    brightenGlow(shell.linkGlows[static_cast<size_t>(link)]);
}

}  // namespace

void drawMenuFrame(Game& game, ShellState& shell) {
    MediaLayer& media = game.media;
    media.drawImage(*game.res.menuBack, ScreenCentreX, ScreenCentreY, 0);
    drawMarquee(media, game.font, shell);
    drawMenuParticles(media, game.effects.particles, *game.res.particle, game.fade);
    media.drawImage(*game.res.publisherLogo, 10, 440, 0);
    media.drawImage(*game.res.logo, 420, 126, 0);
    drawBands(media, game.fade);
    drawUnsavedLineInMenu(media, game.font, game.fade, game.progress.files);
    drawButtons(media, *game.res.menuButtons, game.fade, shell);
    drawButtonGlows(media, *game.res.menuButtonsGlow, shell);
    drawLinks(media, game.font, *game.res.menuLinkGlows, shell);
    if (shell.screenState == ScreenState::Help) drawHelpOverlay(game, shell);
    if (shell.screenState == ScreenState::Options) drawOptionsScreen(game, shell);
    if (shell.screenState == ScreenState::Records) drawRecordsScreen(game, shell);
    hoverButtons(game.input, shell, game.hoveredControl);
    hoverLinks(game.input, shell, game.hoveredControl);
}
