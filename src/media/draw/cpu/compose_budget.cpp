#include "media/draw/cpu/compose_budget.h"

#include <algorithm>
#include <cmath>
#include <utility>

ComposeVerdict ComposeBudget::judge(double cpuMs, bool shownLate, double growth) {
    times[count++] = cpuMs;
    if (shownLate) late += 1;
    if (count < Frames) return ComposeVerdict::Keep;
    count = 0;
    lastWindowLate = std::exchange(late, 0);
    if (++windows <= SettlingWindows) return ComposeVerdict::Keep;
    std::array<double, Frames> sorted = times;
    std::nth_element(sorted.begin(), sorted.begin() + Frames / 2, sorted.end());
    median = sorted[Frames / 2];
    over = median > budgetMs && lastWindowLate >= LateInWindow ? over + 1 : 0;
    room = growth > 0 && median * growth < budgetMs * Headroom ? room + 1 : 0;
    if (over >= WindowsOver) {
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
