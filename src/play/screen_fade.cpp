#include "play/screen_fade.h"

#include "media/media_layer.h"

void stepFade(ScreenFade& fade) {
    // One step per frame: a step that overshoots 255 or 0 is caught below, never stepped back.
    if (fade.brightness < fade.fadeTarget) {
        fade.brightness += 2;
    } else if (fade.brightness > fade.fadeTarget) {
        fade.brightness -= 2;
    }
    if (fade.brightness > 255) fade.brightness = fade.fadeTarget = 255;
    if (fade.brightness < 0) fade.brightness = fade.fadeTarget = 0;
}

void setFadeColour(MediaLayer& media, const ScreenFade& fade) {
    media.setDrawColour(fade.brightness, fade.brightness, fade.brightness);
}
