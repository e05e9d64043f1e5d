#pragma once
// Whether frames composed by the CPU keep within their share of a frame's time: when the
// median of the latest frames' composing times stays over the budget for a second, the frame
// is composed at a smaller scale and stretched to the window instead. The first frames of a
// scale are let pass (pictures are prepared then), and the watch goes on after, so a machine
// that slows down later is noticed too.

#include <array>
#include <cstddef>

class ComposeBudget {
public:
    static constexpr size_t Frames = 30;       // a half second of frames
    static constexpr int SettlingWindows = 1;  // not judged
    static constexpr int WindowsOver = 2;      // in a row, to judge a scale too costly

    explicit ComposeBudget(double budgetMs) : budgetMs(budgetMs) {}
    // One more frame's composing time; true once the median of the latest frames has stayed
    // over the budget (the watch then starts over).
    bool overAfter(double ms);
    // Starts watching afresh (after the work of a frame changed).
    void restart() { count = 0, windows = 0, over = 0; }
    double lastMedian() const { return median; }

private:
    double budgetMs;
    std::array<double, Frames> times{};
    size_t count = 0;
    int windows = 0, over = 0;
    double median = 0;
};

// The next whole scale below a composing scale (1.8 gives 1, 3 gives 2); 0 when there is none.
int smallerComposingScale(float scale);
