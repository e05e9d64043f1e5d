#include "media/desktop/frame_pacer.h"

namespace {

// A present that waited for the blank comes back about one refresh after the one before;
// one that comes back this much sooner did not wait.
constexpr int64_t EarlySlackMicros = 2000;
// A timer wake-up this much past its time counts as late.
constexpr int64_t LateWakeSlackMicros = 1000;
// A frame whose work ends this much past its time has missed it.
constexpr int64_t LateFrameSlackMicros = 1000;

}  // namespace

void FramePacer::start(int refreshHz, bool timerPacing) {
    refreshRate = refreshHz;
    timerPaced = timerPacing && refreshHz > 0;
    restartSchedule(now());
    lastShown = -1;
}

void FramePacer::restartSchedule(int64_t time) {
    scheduleStart = time;
    framesScheduled = 0;
}

int64_t FramePacer::beforePresent() {
    if (!timerPaced) return 0;
    // Frame k is due k refreshes after the start, to the microsecond; a late frame restarts
    // the schedule, never catches up.
    framesScheduled += 1;
    const int64_t due = scheduleStart + framesScheduled * 1'000'000 / refreshRate;
    const int64_t wait = due - now();
    if (wait <= 0 || wait >= 1'000'000) {
        restartSchedule(now());
        return -wait > LateFrameSlackMicros ? -wait : 0;
    }
    sleep(wait);
    // A sleeper woken late on a busy machine shows this frame late; the next one is due a
    // whole refresh after it, not sooner, or it would come early to catch up.
    const int64_t woke = now();
    if (woke - due > LateWakeSlackMicros) restartSchedule(woke);
    return 0;
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
