#include "media/frame_pacer.h"

namespace {

// A present that waited for the blank comes back about one refresh after the one before;
// one that comes back this much sooner did not wait.
constexpr int64_t EarlySlackMicros = 2000;

}  // namespace

void FramePacer::start(int refreshHz, bool timerPacing) {
    refreshRate = refreshHz;
    timerPaced = timerPacing && refreshHz > 0;
    scheduleStart = milliseconds();
    frameBudget = 0;
    lastShown = -1;
}

void FramePacer::beforePresent() {
    if (!timerPaced) return;
    // Frame k is due at start + k * 1000 / hz; a late frame restarts the schedule, never catches up.
    const int64_t elapsed = milliseconds() - scheduleStart;
    frameBudget += 1000;
    const int64_t wait = frameBudget / refreshRate - elapsed;
    if (wait > 0 && wait < 1000) {
        sleep(wait * 1000);
        // A sleeper woken late on a busy machine shows this frame late; the next one is due a
        // whole frame after it, not sooner, or it would come early to catch up. Within the
        // clock's millisecond it counts as on time.
        const int64_t woke = milliseconds() - scheduleStart;
        if (woke > frameBudget / refreshRate + 1) frameBudget = woke * refreshRate;
    } else {
        frameBudget = elapsed * refreshRate;
    }
}

void FramePacer::afterPresent() {
    if (timerPaced || refreshRate <= 0) return;
    const int64_t shown = now();
    const int64_t period = 1'000'000 / refreshRate;
    if (lastShown >= 0 && shown - lastShown < period - EarlySlackMicros) {
        const int64_t due = lastShown + period;
        sleep(due - shown);
        lastShown = due;  // the refresh it was held to, so held frames keep an exact rhythm
        return;
    }
    lastShown = shown;
}
