#pragma once
// Whether frames composed by the CPU keep within their share of a frame's time: when the
// median of the latest frames' composing times stays over the budget for a second, the frame
// is composed at a smaller scale and stretched to the window instead; when, at a smaller
// scale, the frames would still fit well within the budget at the next larger one for a few
// seconds, they go back up. The first frames of a scale are let pass (pictures are prepared
// then), and the watch goes on after, so a machine that slows down or calms down later is
// noticed too. A scale given up again soon after going up to it is tried again only after
// twice as long each time.

#include <array>
#include <cstddef>

enum class ComposeVerdict { Keep, TooCostly, RoomToGrow };

class ComposeBudget {
public:
    static constexpr size_t Frames = 30;       // a half second of frames
    static constexpr int SettlingWindows = 1;  // not judged
    static constexpr int WindowsOver = 2;      // in a row, to judge a scale too costly
    static constexpr int WindowsWithRoom = 6;  // in a row, to go up again
    // The share of the budget a larger scale must promise to keep within.
    static constexpr double Headroom = 0.7;

    explicit ComposeBudget(double budgetMs) : budgetMs(budgetMs) {}
    // One more frame's composing time, with how many times more a frame would cost at the
    // next larger scale (0 when there is none). Once the median of the latest frames has
    // stayed over the budget, or promised room at the larger scale, says so (and the watch
    // starts over).
    ComposeVerdict judge(double ms, double growth);
    bool overAfter(double ms) { return judge(ms, 0) == ComposeVerdict::TooCostly; }
    // Starts watching afresh (after the work of a frame changed).
    void restart() { count = 0, windows = 0, over = 0, room = 0; }
    // The larger scale just tried was too costly after all: wait twice as long next time.
    void growMoreSlowly() { windowsWithRoom *= 2; }
    double lastMedian() const { return median; }

private:
    double budgetMs;
    std::array<double, Frames> times{};
    size_t count = 0;
    int windows = 0, over = 0, room = 0;
    int windowsWithRoom = WindowsWithRoom;
    double median = 0;
};

// The next whole scale below a composing scale (1.8 gives 1, 3 gives 2); 0 when there is none.
int smallerComposingScale(float scale);
