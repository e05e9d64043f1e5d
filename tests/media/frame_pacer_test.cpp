// Frame pacing decisions against a scripted clock: where the waits go, how long they are, and
// which frames came late; and the wait itself.

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "media/desktop/frame_pacer.h"
#include "media/desktop/precise_wait.h"

namespace {

// A clock that only moves when the test or a sleep moves it.
struct ScriptedClock {
    int64_t micros = 5'000'000;
    int64_t oversleep = 0;  // a sleeper wakes a little late
    std::vector<int64_t> sleeps;
    FramePacer pacer{[this] { return micros; },
                     [this](int64_t wait) {
                         sleeps.push_back(wait);
                         micros += wait + oversleep;
                     }};

    // One frame: drawing takes drawMicros, then the present takes presentMicros.
    void frame(int64_t drawMicros, int64_t presentMicros) {
        micros += drawMicros;
        pacer.beforePresent();
        micros += presentMicros;
        pacer.afterPresent();
    }
};

}  // namespace

TEST(FramePacer, UnderVsyncASlowFrameIsNeverDelayedFurther) {
    ScriptedClock clock;
    clock.pacer.start(60, false);
    clock.frame(1000, 15'667);  // the present waits for the blank
    // 19 ms of drawing: the present waits for the next blank, 33.3 ms after the last.
    clock.frame(19'000, 14'333);
    clock.frame(10'000, 6'667);
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST(FramePacer, UnderVsyncAPresentThatReturnsAtOnceIsHeldToTheRefresh) {
    ScriptedClock clock;
    clock.pacer.start(60, false);
    clock.frame(1000, 15'667);
    const int64_t firstShown = clock.micros;
    clock.oversleep = 300;
    // A minimised window: presents stop waiting for the blank.
    for (int i = 0; i < 600; ++i) clock.frame(3000, 0);
    ASSERT_EQ(clock.sleeps.size(), 600u);
    EXPECT_EQ(clock.sleeps.front(), 16'666 - 3000);
    // Held frames keep the rhythm of the refresh, late wake-ups included: 600 of them take 10 s.
    EXPECT_NEAR(static_cast<double>(clock.micros - firstShown), 600 * 16'666.7, 600.0);
}

TEST(FramePacer, UnderVsyncNothingWaitsBeforeThePresent) {
    ScriptedClock clock;
    clock.pacer.start(60, false);
    clock.frame(1000, 15'667);
    clock.micros += 5000;
    clock.pacer.beforePresent();
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST(FramePacer, TimerPacingFollowsTheRefreshSchedule) {
    ScriptedClock clock;
    clock.pacer.start(60, true);
    for (int i = 0; i < 3; ++i) clock.frame(2000, 0);
    // Due at 16.666, 33.333 and 50 ms after the start, to the microsecond.
    EXPECT_EQ(clock.sleeps, (std::vector<int64_t>{14'666, 14'667, 14'667}));
}

TEST(FramePacer, TimerPacingPresentsALateFrameAtOnceAndRestartsTheSchedule) {
    ScriptedClock clock;
    clock.pacer.start(60, true);
    clock.frame(40'000, 0);  // 40 ms to draw: shown at once
    EXPECT_TRUE(clock.sleeps.empty());
    clock.frame(2000, 0);  // the next frame is due a refresh after the late one
    EXPECT_EQ(clock.sleeps, (std::vector<int64_t>{14'666}));
}

TEST(FramePacer, TimerPacingNeverBringsAFrameInEarlyAfterALateWakeUp) {
    ScriptedClock clock;
    clock.pacer.start(60, true);
    clock.frame(2000, 0);  // due at 16.666 ms: on time
    clock.oversleep = 3000;
    clock.frame(2000, 0);  // due at 33.333 ms, woken at 36.333
    clock.oversleep = 0;
    clock.frame(2000, 0);  // due a whole refresh after the late one, not back on the old grid at 50
    clock.frame(2000, 0);
    EXPECT_EQ(clock.sleeps, (std::vector<int64_t>{14'666, 14'667, 14'666, 14'667}));
    // A wake-up less than a millisecond late keeps the schedule.
    ScriptedClock slightlyLate;
    slightlyLate.pacer.start(60, true);
    slightlyLate.oversleep = 900;
    for (int i = 0; i < 3; ++i) slightlyLate.frame(1000, 0);
    EXPECT_EQ(slightlyLate.sleeps, (std::vector<int64_t>{15'666, 14'767, 14'767}));
}

TEST(FramePacer, NoRefreshRateMeansNoPacing) {
    ScriptedClock clock;
    clock.pacer.start(0, true);
    for (int i = 0; i < 5; ++i) clock.frame(1000, 0);
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST(FramePacer, OnlyAFrameWhoseWorkRanPastItsTimeIsLate) {
    ScriptedClock clock;
    clock.pacer.start(60, true);
    clock.micros += 2000;
    EXPECT_EQ(clock.pacer.beforePresent(), 0) << "drawn in time";
    clock.micros += 17'500;
    EXPECT_EQ(clock.pacer.beforePresent(), 0) << "within a millisecond of its time";
    clock.micros += 20'000;
    EXPECT_EQ(clock.pacer.beforePresent(), 20'000 - 16'666) << "its work ran past its time, by this much";
    clock.oversleep = 9000;
    clock.micros += 2000;
    EXPECT_EQ(clock.pacer.beforePresent(), 0) << "woken late: the machine's, not the frame's";
    ScriptedClock vsync;
    vsync.pacer.start(60, false);
    vsync.micros += 40'000;
    EXPECT_EQ(vsync.pacer.beforePresent(), 0) << "the blank paces: nothing is due";
}

TEST(PreciseWait, NeverEndsEarly) {
    for (const int64_t micros : {0, 300, 1500, 4000}) {
        const auto begun = std::chrono::steady_clock::now();
        waitPrecisely(micros);
        EXPECT_GE(std::chrono::steady_clock::now() - begun, std::chrono::microseconds(micros));
    }
}
