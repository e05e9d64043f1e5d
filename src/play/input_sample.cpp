#include "play/input_sample.h"

#include "media/media_layer.h"

void sampleInput(MediaLayer& media, InputSample& input) {
    input.x = media.mouseX();
    input.y = media.mouseY();
    input.leftHits = media.mouseHits(MouseButton::Left);
    input.rightHits = media.mouseHits(MouseButton::Right);
    input.middleHits = media.mouseHits(MouseButton::Middle);
    input.inputChanged =
        input.x != input.previousX || input.y != input.previousY || input.leftHits != 0 || input.rightHits != 0;
    input.previousX = input.x;
    input.previousY = input.y;
}
