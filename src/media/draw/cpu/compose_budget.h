#pragma once
// Whether frames composed by the CPU keep within their share of a frame's time, judged by what
// the player sees and by what composing itself costs: the CPU time the compose threads spent
// on a frame (per band, as if each band had a core of its own), not the wall time, which on a
// busy desktop includes waiting for a core. The frame is composed at a smaller scale and
// stretched to the window instead when, for a second, the median of the latest frames'
// composing CPU stays over the budget and frames were really shown late; or when so many
// frames come late that the player sees fewer than 50 a second and composing took more than
// the budget on the clock, whatever its CPU (a desktop too busy to give the compose its
// cores: less work is the answer). Frames late while composing kept to its time waited
// elsewhere (the copy to the window), and a smaller scale would only soften them. When, at a
// smaller scale, the frames would fit within the budget at the next larger one for a few
// seconds, in their CPU time and in the time they really took, they go back up: well within
// it after a scale too costly, just within it after a busy spell. The first frames of a scale
// are let pass (pictures are prepared then), and the watch goes on after, so a machine that
// slows down or calms down later is noticed too. A scale given up again soon after going up
// to it is tried again only after twice as long each time, up to a limit.

#include <array>
#include <cstddef>

enum class ComposeVerdict { Keep, TooCostly, RoomToGrow };

// What one frame's composing cost and how late it was shown, in milliseconds.
struct ComposedFrame {
    double cpuMs = 0;   // the compose threads' CPU, per band
    double wallMs = 0;  // from the first band begun to the last ended
    double lateMs = 0;  // how far past its time the frame's work ran; 0 when in time
};

class ComposeBudget {
public:
    static constexpr size_t Frames = 30;       // a half second of frames
    static constexpr int SettlingWindows = 1;  // not judged
    static constexpr int WindowsOver = 2;      // in a row, to judge a scale too costly
    static constexpr int LateInWindow = 3;     // frames shown late in a window over the budget
    // Late time in a window that gives up the scale whatever the frames cost: 30 frames
    // shown in 600 ms or more, fewer than 50 a second.
    static constexpr double MostLateMs = 100.0;
    static constexpr int WindowsWithRoom = 6;  // in a row, to go up again
    static constexpr int MostWindowsWithRoom = 4 * WindowsWithRoom;
    // The share of the budget a larger scale must promise to keep within.
    static constexpr double Headroom = 0.7;

    explicit ComposeBudget(double budgetMs) : budgetMs(budgetMs) {}
    // One more frame, with how many times more a frame would cost at the next larger scale (0
    // when there is none). Once the latest frames have stayed over the budget, or promised
    // room at the larger scale, says so (and the watch starts over).
    ComposeVerdict judge(const ComposedFrame& frame, double growth);
    // A frame shown a little late that cost `cpuMs`: true once the scale is judged too costly.
    bool overAfter(double cpuMs) { return judge({cpuMs, cpuMs, 2.0}, 0) == ComposeVerdict::TooCostly; }
    // Starts watching afresh (after the work of a frame changed).
    void restart() { count = 0, late = 0, lateMs = 0, windows = 0, over = 0, room = 0; }
    // The larger scale just tried was too costly after all: wait twice as long next time.
    void growMoreSlowly();
    double lastMedian() const { return median; }
    int lastLate() const { return lastWindowLate; }
    // Whether the scale last given up was given up for frames late on a busy desktop rather
    // than for what they cost.
    bool gaveUpForBusyDesktop() const { return busyDesktop; }

private:
    double budgetMs;
    std::array<double, Frames> times{}, wallTimes{};
    size_t count = 0;
    int late = 0;       // frames of this window shown late
    double lateMs = 0;  // and how late, together
    int windows = 0, over = 0, room = 0;
    int windowsWithRoom = WindowsWithRoom;
    double median = 0;
    int lastWindowLate = 0;
    bool busyDesktop = false;
};

// The next whole scale below a composing scale (1.8 gives 1, 3 gives 2); 0 when there is none.
int smallerComposingScale(float scale);
