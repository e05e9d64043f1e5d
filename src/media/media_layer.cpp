#include "media/media_layer.h"

#include <cstdio>
#include <utility>

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

void MediaLayer::presentFrame() {
    showFrame();
    eventsTaken = false;
}

void MediaLayer::takeEvents() {
    if (eventsTaken) return;
    pumpEvents();
    eventsTaken = true;
}

int MediaLayer::mouseX() {
    takeEvents();
    return input.pointerX;
}

int MediaLayer::mouseY() {
    takeEvents();
    return input.pointerY;
}

int MediaLayer::mouseHits(MouseButton button) {
    takeEvents();
    return std::exchange(input.hits(button), 0);
}

bool MediaLayer::mouseDown(MouseButton button) {
    takeEvents();
    return input.down(button);
}

int MediaLayer::keyHits(Key key) {
    takeEvents();
    return std::exchange(input.hits(key), 0);
}

bool MediaLayer::keyDown(Key key) {
    takeEvents();
    return input.down(key);
}

void MediaLayer::flushKeys() {
    takeEvents();
    input.flushKeys();
}

bool MediaLayer::quitRequested() {
    takeEvents();
    if (quitPending && !quitSeen) {
        quitSeen = true;
        quitBeingHandled();
    }
    return quitPending;
}

void MediaLayer::noteQuitRequest() {
    if (quitSeen) endAtOnce();
    quitPending = true;
}

void MediaLayer::warning(const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); }
