#include "bench_media.h"

void applyScript(const BenchScript& script, InputState& input) {
    input.pointerMoved(script.pointerX, script.pointerY);
    if (script.pressLeft) {
        input.mousePressed(MouseButton::Left);
    } else {
        input.mouseReleased(MouseButton::Left);
    }
}

void BenchSdlMedia::showFrame() {
    SdlMedia::showFrame();
    if (script.onPresent) script.onPresent();
}

void BenchSdlMedia::pumpEvents() {
    SdlMedia::pumpEvents();
    applyScript(script, input);
}

void BenchLogicMedia::showFrame() {
    ScriptedMedia::showFrame();
    if (script.onPresent) script.onPresent();
}

void BenchLogicMedia::pumpEvents() {
    ScriptedMedia::pumpEvents();
    applyScript(script, input);
}
