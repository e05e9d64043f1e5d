// The shape of the game: zones, board sizes, the first virus and FaxModems, and a
// difficulty that rises.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "level_test_support.h"
#include "levels/level_check.h"
#include "levels/level_plan.h"
#include "levels/quiet_events.h"

namespace {

double zoneAverage(int zone)
{
    double sum = 0;
    int count = 0;
    for (int level = zone * ZoneSize; level < std::min(LevelCount, (zone + 1) * ZoneSize); ++level, ++count) {
        sum += sharedLevels()[level].stats.score;
    }
    return sum / count;
}

}  // namespace

TEST(LevelCurve, BoardsGrowFromTheSmallestToTheLargest)
{
    for (int level = 0; level < ZoneSize; ++level)
        EXPECT_EQ(sharedLevels()[level].design.sizeClass, 0);
    std::array<int, 4> used{};
    for (int level = 0; level < LevelCount; ++level) {
        const int sizeClass = sharedLevels()[level].design.sizeClass;
        used[sizeClass] += 1;
        if (level > 0) {
            EXPECT_GE(sizeClass, sharedLevels()[level - 1].design.sizeClass) << "level " << level;
        }
    }
    for (int count : used)
        EXPECT_GT(count, 0);
    EXPECT_EQ(sharedLevels()[LevelCount - 1].design.sizeClass, 3);
}

TEST(LevelCurve, TheFirstVirusRevealsItself)
{
    // The cleaning hints run from the first reveal, on level 4: the stored board must reveal it.
    Board board;
    copyLevel(board, sharedMapData(), 4);
    createDevices(board);
    VirusWatch watch;
    QuietEvents events;
    updateConnections(board, buildConnectorTable(), watch, events);
    EXPECT_TRUE(watch.virusRevealed);
}

// Computers, viruses and FaxModems of every level, counted on the board the game builds from
// the stored bytes (not on the generator's design), are the level plan's numbers, written
// computers/viruses/FaxModems, a zone of five levels a line. The plan's rules: a zone's computers rise from its first
// count to its last over its five levels, and a level after level 5 with neither viruses nor FaxModems has one more;
// viruses first come on level 4, where the cleaning hints are shown, FaxModems on level 5, where theirs is, and then
// each on a share of a zone's levels that grows from zone to zone (viruses in number too); FaxModems come two or more
// to a level, never one alone.
TEST(LevelCurve, EveryLevelHoldsThePlansComputersVirusesAndFaxModems)
{
    const char* const zones[] = {"3/0/0 3/0/0 3/0/0 3/0/0 4/1/0",      "4/0/2 5/0/0 4/0/2 5/0/0 5/1/2",
                                 "6/0/0 6/0/0 5/1/2 6/0/0 6/1/2",      "7/0/0 7/0/0 6/1/2 7/0/0 7/2/2",
                                 "13/0/0 13/0/0 12/1/2 13/0/0 13/1/2", "14/0/0 13/1/0 13/0/2 13/1/0 14/2/2",
                                 "15/0/0 14/2/3 15/0/0 14/2/3 15/2/3", "16/0/0 15/2/3 16/0/0 15/2/3 16/2/3",
                                 "17/0/0 16/2/3 16/2/0 16/2/3 17/3/3", "21/0/0 20/2/2 21/0/0 20/2/2 21/2/2",
                                 "22/0/0 21/2/3 21/2/0 21/2/3 22/3/3", "23/0/0 22/2/3 22/2/3 22/2/3 23/3/3",
                                 "24/0/0 23/3/3 23/3/3 23/3/3 24/3/3", "24/3/0 24/3/4 24/3/4 24/3/4 25/3/4",
                                 "25/3/4 25/3/4 25/3/4 25/3/4 26/4/4", "26/4/4 26/4/4 26/4/4"};
    for (int level = 0; level < LevelCount; ++level) {
        std::istringstream zone(zones[level / ZoneSize]);
        std::string planned;
        for (int step = 0; step <= level % ZoneSize; ++step)
            zone >> planned;
        Board board;
        copyLevel(board, sharedMapData(), level);
        createDevices(board);
        const auto viruses = std::count_if(board.computers.begin(), board.computers.end(),
                                           [](const Computer& computer) { return computer.hasVirus; });
        EXPECT_EQ(std::to_string(board.computers.size()) + "/" + std::to_string(viruses) + "/" +
                      std::to_string(board.faxModems.size()),
                  planned)
            << "level " << level;
    }
}

TEST(LevelCurve, EveryZoneIsHarderThanTheOneBefore)
{
    for (int zone = 1; zone <= (LevelCount - 1) / ZoneSize; ++zone) {
        EXPECT_GT(zoneAverage(zone), zoneAverage(zone - 1)) << "zone " << zone;
    }
}

TEST(LevelCurve, MostLevelsHaveOneSolution)
{
    int unique = 0;
    for (const GeneratedLevel& level : sharedLevels())
        unique += level.stats.unique ? 1 : 0;
    EXPECT_GE(unique * 10, LevelCount * 9);
}

TEST(LevelCurve, TheFirstLevelTakesAWhileToSolve)
{
    // The hints of level 0 come 3 and 22 seconds in: a beginner should still be there.
    const LevelStats& stats = sharedLevels()[0].stats;
    EXPECT_GE(stats.computers, 3);
    EXPECT_GE(stats.pieces, 10);
}
