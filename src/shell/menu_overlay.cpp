#include "shell/menu_overlay.h"

#include "play/game.h"

void setFadedColour(MediaLayer& media, const ScreenFade& fade, int r, int g, int b) {
    media.setDrawColour(r * fade.brightness / 255, g * fade.brightness / 255, b * fade.brightness / 255);
}

void drawOverlayPlate(MediaLayer& media, const Image& canvas, const ScreenFade& fade) {
    // Brightness / 1.2 in whole numbers, exact like the fade colour itself.
    const int tint = fade.brightness * 5 / 6;
    media.setDrawAlpha(0.8f);
    media.setDrawColour(tint, fade.brightness, tint);
    media.drawImage(canvas, ScreenCentreX, ScreenCentreY, 0);
    media.setDrawAlpha(1.0f);
    setFadeColour(media, fade);
}

void runOverlayButton(Game& game, MenuButton button, float& glow) {
    MediaLayer& media = game.media;
    media.drawImage(*game.res.menuButtons, NextPageX, NextPageY, button);
    if (NextPageArea.contains(game.input.x, game.input.y)) {
        game.hoveredControl = button;
        brightenGlow(glow);
    }
    media.setBlendMode(BlendMode::Light);
    media.setDrawAlpha(glow);
    media.drawImage(*game.res.menuButtonsGlow, NextPageX, NextPageY, button);
    media.setBlendMode(BlendMode::Alpha);
    media.setDrawAlpha(1.0f);
    dimGlow(glow);
}
