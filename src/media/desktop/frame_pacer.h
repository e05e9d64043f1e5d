#pragma once
// When to wait around a present so that frames come one display refresh apart.
// Pure decisions over an injected clock and sleep, so they can be tested with a script.

#include <cstdint>
#include <functional>

class FramePacer {
public:
    using Clock = std::function<int64_t()>;      // microseconds, any fixed origin
    using Sleep = std::function<void(int64_t)>;  // microseconds

    FramePacer(Clock now, Sleep sleep) : now(std::move(now)), sleep(std::move(sleep)) {}

    // Starts the schedule after the refresh probe. Under timer pacing frames follow a
    // schedule of whole refreshes; otherwise the present waits for the vertical blank itself.
    void start(int refreshHz, bool timerPacing);
    // Timer pacing: sleeps until the frame is due. A late frame, or a late wake-up, restarts
    // the schedule. How far past its time the frame came, in microseconds, when its work ran
    // past it (0 otherwise); a late wake-up is the machine's, not the frame's.
    int64_t beforePresent();
    // Vertical-blank pacing: a hidden or minimised window may stop waiting for the blank,
    // and the game counts time in frames, so a present that came back too early is held
    // to the refresh. A present that did wait (a slow frame) is never delayed further.
    void afterPresent();

    bool timerPacing() const { return timerPaced; }

private:
    void restartSchedule(int64_t time);

    Clock now;
    Sleep sleep;
    bool timerPaced = true;
    int refreshRate = 60;
    int64_t scheduleStart = 0;    // us
    int64_t framesScheduled = 0;  // since scheduleStart
    int64_t lastShown = -1;       // us; when the previous frame was shown
};
