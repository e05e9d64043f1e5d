// The shape of the game: zones, board sizes, the first virus and FaxModems, and a
// difficulty that rises.

#include <gtest/gtest.h>

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

TEST(LevelCurve, TheFirstVirusComesOnLevelFourAndRevealsItself)
{
    for (int level = 0; level < 4; ++level)
        EXPECT_EQ(sharedLevels()[level].stats.viruses, 0);
    ASSERT_GE(sharedLevels()[4].stats.viruses, 1);
    // The cleaning hints run from the first reveal: the stored board must reveal it.
    Board board;
    copyLevel(board, sharedMapData(), 4);
    createDevices(board);
    VirusWatch watch;
    QuietEvents events;
    updateConnections(board, buildConnectorTable(), watch, events);
    EXPECT_TRUE(watch.virusRevealed);
}

TEST(LevelCurve, FaxModemsArriveOnLevelFiveInGroups)
{
    for (int level = 0; level < 5; ++level)
        EXPECT_EQ(sharedLevels()[level].stats.faxModems, 0);
    EXPECT_GE(sharedLevels()[5].stats.faxModems, 2);
    for (int level = 0; level < LevelCount; ++level)
        EXPECT_NE(sharedLevels()[level].stats.faxModems, 1);
}

TEST(LevelCurve, EveryZoneIsHarderThanTheOneBefore)
{
    for (int zone = 1; zone <= (LevelCount - 1) / ZoneSize; ++zone) {
        EXPECT_GT(zoneAverage(zone), zoneAverage(zone - 1)) << "zone " << zone;
    }
}

TEST(LevelCurve, VirusesAndFaxModemsComeMoreOftenLater)
{
    auto share = [](int first, int last, auto has) {
        int count = 0;
        for (int level = first; level <= last; ++level)
            count += has(sharedLevels()[level].stats) ? 1 : 0;
        return count;
    };
    auto virus = [](const LevelStats& stats) { return stats.viruses > 0; };
    auto fax = [](const LevelStats& stats) { return stats.faxModems > 0; };
    EXPECT_LT(share(0, 25, virus), share(26, 51, virus));
    EXPECT_LT(share(26, 51, virus), share(52, 77, virus));
    EXPECT_LT(share(0, 25, fax), share(52, 77, fax));
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
