// The difficulty curve as a table of zones. Within a zone the values move from the
// first column to the second over its five levels; viruses and FaxModems come on a
// share of a zone's levels that grows from zone to zone.

#include "levels/level_plan.h"

#include <algorithm>
#include <array>

#include "board/board.h"

namespace {

struct ZoneRow {
    int sizeClass;
    int computersFirst, computersLast;
    int fillFirst, fillLast;
    int branchMin, branchMax;
    int virusLevels, virusesFirst, virusesLast;  // how many of the five levels carry viruses
    int faxLevels, faxModems;                    // how many carry a relay group, and its size
    int crossPercent;
    int twoOutputsPercent;
};

// Zone 0 teaches on the smallest board; the 6 x 7 boards start sparse, so the step up
// in size is not a wall. The two large sizes cover nearly the whole board from their
// first level on: a half-empty large board looks unfinished.
constexpr std::array<ZoneRow, 16> Zones = {{
    {0, 3, 4, 75, 90, 2, 4, 0, 0, 0, 0, 0, 0, 0},
    {1, 4, 5, 55, 62, 2, 5, 1, 1, 1, 2, 2, 0, 10},
    {1, 5, 6, 62, 70, 2, 5, 2, 1, 1, 2, 2, 5, 20},
    {1, 6, 7, 70, 80, 2, 5, 2, 1, 2, 2, 2, 10, 30},
    {2, 12, 13, 86, 88, 2, 6, 2, 1, 1, 2, 2, 10, 30},
    {2, 13, 14, 87, 89, 2, 6, 3, 1, 2, 2, 2, 15, 40},
    {2, 14, 15, 88, 90, 2, 6, 3, 2, 2, 3, 3, 15, 40},
    {2, 15, 16, 89, 91, 2, 6, 3, 2, 2, 3, 3, 20, 50},
    {2, 16, 17, 90, 92, 2, 6, 4, 2, 3, 3, 3, 20, 50},
    {3, 20, 21, 86, 87, 2, 7, 3, 2, 2, 3, 2, 20, 50},
    {3, 21, 22, 87, 88, 2, 7, 4, 2, 3, 3, 3, 25, 50},
    {3, 22, 23, 88, 89, 2, 7, 4, 2, 3, 4, 3, 25, 60},
    {3, 23, 24, 89, 90, 2, 7, 4, 3, 3, 4, 3, 30, 60},
    {3, 24, 25, 90, 91, 2, 7, 5, 3, 3, 4, 4, 30, 60},
    {3, 25, 26, 91, 92, 2, 7, 5, 3, 4, 5, 4, 30, 70},
    {3, 26, 27, 92, 93, 2, 7, 5, 4, 4, 5, 4, 30, 70},
}};

// Spreads `count` marked levels evenly over the five levels of a zone.
bool markedInZone(int levelInZone, int count)
{
    return (levelInZone + 1) * count / ZoneSize > levelInZone * count / ZoneSize;
}

int between(int first, int last, int levelInZone)
{
    return first + (last - first) * levelInZone / (ZoneSize - 1);
}

}  // namespace

LevelPlan planOfLevel(int level)
{
    const int zone = level / ZoneSize;
    const int step = level % ZoneSize;
    const ZoneRow& row = Zones[zone];
    LevelPlan plan;
    plan.level = level;
    plan.sizeClass = row.sizeClass;
    plan.computers = between(row.computersFirst, row.computersLast, step);
    plan.fillPercent = between(row.fillFirst, row.fillLast, step);
    if (row.sizeClass >= FullBoardSizeClass)
        plan.fillPercent = std::max(plan.fillPercent, FullBoardPercent);
    plan.branchMin = row.branchMin;
    plan.branchMax = row.branchMax;
    plan.crossPercent = row.crossPercent;
    plan.twoOutputsPercent = row.twoOutputsPercent;
    plan.straightPercent = 40;
    // The cleaning hints are shown on level index 4, the FaxModem hint on index 5.
    const bool viruses = level == 4 || markedInZone(step, row.virusLevels);
    const bool faxModems = level == 5 || markedInZone(step, row.faxLevels);
    plan.viruses = viruses ? std::max(1, between(row.virusesFirst, row.virusesLast, step)) : 0;
    plan.faxModems = faxModems ? std::max(2, row.faxModems) : 0;
    // A level without the extra rules makes up for them with one more computer.
    if (level > 5 && !viruses && !faxModems)
        plan.computers += 1;
    plan.candidates = row.sizeClass <= 1 ? 60 : (row.sizeClass == 2 ? 30 : 16);
    // A bare row or column at the edge makes a board look unfinished, whatever its size.
    plan.coverEdges = true;
    return plan;
}
