#include "media/scripted/scripted_media.h"

ScriptedMedia::ScriptedMedia(MusicDecoding musicDecoding) : MediaLayer(musicDecoding) {
    resetDrawState();
    // Every frame alike: a save asked for in a frame has landed when the frame ends.
    files.writeQueuedAtOnce();
}

bool ScriptedMedia::openScreen(int, int, int, int, int) {
    screenOpen = true;
    resetDrawState();
    input.pointerMoved(ScreenCentreX, ScreenCentreY);
    return true;
}

void ScriptedMedia::showFrame() {
    lastFrame = std::move(currentDraws);
    currentDraws.clear();
    ++framesPresented;
    // The clock follows the 60 Hz schedule: frame k is due at k * 1000 / 60 ms.
    clockMs = 1000 + static_cast<uint32_t>(framesPresented * 1000LL / 60);
    if (onFrame) onFrame(framesPresented);
    if (framesPresented >= frameLimit) throw ScriptEnded();
}

void ScriptedMedia::clearScreen() { currentDraws.clear(); }

void ScriptedMedia::drawImage(const Image& image, float x, float y, int frame) {
    DrawCall call;
    call.kind = DrawCall::Kind::Image;
    call.image = &image;
    call.frame = frame;
    call.x = x;
    call.y = y;
    call.state = draw;
    currentDraws.push_back(call);
}

void ScriptedMedia::drawRect(float x, float y, float width, float height) {
    DrawCall call;
    call.kind = DrawCall::Kind::Rect;
    call.x = x;
    call.y = y;
    call.width = width;
    call.height = height;
    call.state = draw;
    currentDraws.push_back(call);
}

void ScriptedMedia::movePointer(int x, int y) {
    pointerMoves.emplace_back(x, y);
    input.pointerMoved(x, y);
}

void ScriptedMedia::fatalError(const std::string& message) { throw FatalError(message); }

void ScriptedMedia::pressKey(int frame, Key key) {
    addEvent(frame, [key](InputState& in) { in.keyPressed(key); });
}

void ScriptedMedia::releaseKey(int frame, Key key) {
    addEvent(frame, [key](InputState& in) { in.keyReleased(key); });
}

void ScriptedMedia::tapKey(int frame, Key key) {
    pressKey(frame, key);
    releaseKey(frame + 1, key);
}

void ScriptedMedia::pressMouse(int frame, MouseButton button) {
    addEvent(frame, [button](InputState& in) { in.mousePressed(button); });
}

void ScriptedMedia::releaseMouse(int frame, MouseButton button) {
    addEvent(frame, [button](InputState& in) { in.mouseReleased(button); });
}

void ScriptedMedia::click(int frame, MouseButton button) {
    pressMouse(frame, button);
    releaseMouse(frame + 1, button);
}

void ScriptedMedia::moveMouse(int frame, int x, int y) {
    addEvent(frame, [x, y](InputState& in) { in.pointerMoved(x, y); });
}

void ScriptedMedia::loseFocus(int frame) {
    addEvent(frame, [](InputState& in) { in.focusChanged(); });
}

void ScriptedMedia::addEvent(int frame, std::function<void(InputState&)> event) {
    script.emplace(frame, std::move(event));
    // Scripted for a frame whose events are already in: the frame's next query takes it in,
    // as if it had come before the frame began.
    if (frame <= framesPresented) eventsTaken = false;
}

void ScriptedMedia::requestQuit(int frame) {
    addEvent(frame, [this](InputState&) { noteQuitRequest(); });
}

void ScriptedMedia::closeWindow(int frame) {
    addEvent(frame, [this](InputState&) { noteQuitRequest(); });
}

void ScriptedMedia::pumpEvents() {
    // Deliver every event scripted for this frame or earlier, once.
    auto end = script.upper_bound(framesPresented);
    // Taken out before they run: a request may end the program at once.
    std::vector<std::function<void(InputState&)>> due;
    for (auto it = script.begin(); it != end; ++it) due.push_back(std::move(it->second));
    script.erase(script.begin(), end);
    for (const auto& event : due) event(input);
}

std::vector<DrawCall> ScriptedMedia::drawsOf(const Image* image) const {
    std::vector<DrawCall> result;
    for (const DrawCall& call : lastFrame)
        if (call.image == image) result.push_back(call);
    return result;
}
