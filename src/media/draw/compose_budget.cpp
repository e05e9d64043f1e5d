#include "media/draw/compose_budget.h"

#include <algorithm>
#include <cmath>

bool ComposeBudget::overAfter(double ms) {
    times[count++] = ms;
    if (count < Frames) return false;
    count = 0;
    if (++windows <= SettlingWindows) return false;
    std::array<double, Frames> sorted = times;
    std::nth_element(sorted.begin(), sorted.begin() + Frames / 2, sorted.end());
    median = sorted[Frames / 2];
    over = median > budgetMs ? over + 1 : 0;
    if (over < WindowsOver) return false;
    restart();
    return true;
}

int smallerComposingScale(float scale) {
    const float whole = std::floor(scale);
    const int smaller = static_cast<int>(whole == scale ? whole - 1 : whole);
    return smaller >= 1 ? smaller : 0;
}
