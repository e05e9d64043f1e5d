#include "media/media_layer.h"

#include <cstdio>

MediaLayer::MediaLayer(MusicDecoder::Mode musicDecoding) : decoder(musicDecoding) {
    files.onFatal = [this](const std::string& message) { fatalError(message); };
}

MediaLayer::~MediaLayer() = default;

void MediaLayer::resetDrawState() {
    draw = DrawState{};
    updateDrawMatrix(draw);
}

void MediaLayer::setDrawColour(int r, int g, int b) { draw.colour = Colour{r, g, b}; }

void MediaLayer::setDrawRotation(float degrees) {
    draw.rotation = degrees;
    updateDrawMatrix(draw);
}

void MediaLayer::setDrawScale(float scaleX, float scaleY) {
    draw.scaleX = scaleX;
    draw.scaleY = scaleY;
    updateDrawMatrix(draw);
}

void MediaLayer::centreImageHandle(Image& image) {
    image.handleX = image.width * 0.5f;
    image.handleY = image.height * 0.5f;
}

int MediaLayer::mouseX() {
    pumpEvents();
    return input.pointerX;
}

int MediaLayer::mouseY() {
    pumpEvents();
    return input.pointerY;
}

int MediaLayer::mouseHits(int button) {
    pumpEvents();
    if (button < 1 || button > 3) return 0;
    const int hits = input.mouseHits[button];
    input.mouseHits[button] = 0;
    return hits;
}

int MediaLayer::mouseDown(int button) {
    pumpEvents();
    return (button >= 1 && button <= 3 && input.mouseDown[button]) ? 1 : 0;
}

int MediaLayer::keyHits(int key) {
    pumpEvents();
    if (key < 0 || key > 255) return 0;
    const int hits = input.keyHits[key];
    input.keyHits[key] = 0;
    return hits;
}

int MediaLayer::keyDown(int key) {
    pumpEvents();
    return (key >= 0 && key <= 255 && input.keyDown[key]) ? 1 : 0;
}

void MediaLayer::flushKeys() {
    pumpEvents();
    input.flushKeys();
}

void MediaLayer::warning(const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); }
