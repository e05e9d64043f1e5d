#include "media/draw/cpu/compose_budget.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

template <size_t N>
double medianOf(std::array<double, N> values) {
    std::nth_element(values.begin(), values.begin() + N / 2, values.end());
    return values[N / 2];
}

}  // namespace

ComposeVerdict ComposeBudget::judge(const ComposedFrame& frame, double growth) {
    times[count] = frame.cpuMs;
    wallTimes[count] = frame.wallMs;
    count += 1;
    if (frame.lateMs > 0) late += 1, lateMs += frame.lateMs;
    if (count < Frames) return ComposeVerdict::Keep;
    count = 0;
    lastWindowLate = std::exchange(late, 0);
    const double windowLateMs = std::exchange(lateMs, 0.0);
    if (++windows <= SettlingWindows) return ComposeVerdict::Keep;
    median = medianOf(times);
    const bool costly = median > budgetMs && lastWindowLate >= LateInWindow;
    // Late while composing itself overran the budget on the clock: a smaller scale helps. Late
    // while composing kept to it (the copy to the window waited) it would only soften the picture.
    const double wallMedian = medianOf(wallTimes);
    const bool tooLate = windowLateMs >= MostLateMs && wallMedian > budgetMs;
    over = costly || tooLate ? over + 1 : 0;
    // Room one scale up in CPU and in the time the frames really took, with no frames late:
    // well within the budget after a scale too costly, within it after a busy spell.
    const double cost = std::max(median, wallMedian) * growth;
    const double roomUpTo = busyDesktop ? budgetMs : budgetMs * Headroom;
    room = growth > 0 && cost < roomUpTo && lastWindowLate <= 1 ? room + 1 : 0;
    if (over >= WindowsOver) {
        busyDesktop = !costly;
        restart();
        return ComposeVerdict::TooCostly;
    }
    if (room >= windowsWithRoom) {
        restart();
        return ComposeVerdict::RoomToGrow;
    }
    return ComposeVerdict::Keep;
}

void ComposeBudget::growMoreSlowly() { windowsWithRoom = std::min(windowsWithRoom * 2, MostWindowsWithRoom); }

int smallerComposingScale(float scale) {
    const float whole = std::floor(scale);
    const int smaller = static_cast<int>(whole == scale ? whole - 1 : whole);
    return smaller >= 1 ? smaller : 0;
}
