#include "bench_media.h"

void applyScript(const BenchScript& script, InputState& input) {
    input.pointerMoved(script.pointerX, script.pointerY);
    if (script.pressLeft) {
        input.mousePressed(MouseLeft);
    } else {
        input.mouseReleased(MouseLeft);
    }
}

void BenchSdlMedia::presentFrame() {
    SdlMedia::presentFrame();
    if (script.onPresent) script.onPresent();
}

void BenchSdlMedia::pumpEvents() {
    SdlMedia::pumpEvents();
    applyScript(script, input);
}

void BenchLogicMedia::presentFrame() {
    ScriptedMedia::presentFrame();
    if (script.onPresent) script.onPresent();
}

void BenchLogicMedia::pumpEvents() {
    ScriptedMedia::pumpEvents();
    applyScript(script, input);
}
