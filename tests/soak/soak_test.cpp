// The short soak: the automatic player continues a saved game at level 74 and plays
// through the last levels, the wrap to level 0 and one more, leaving play and
// continuing from the menu on the way. The full run of all 78 levels is bench/soak.

#include <gtest/gtest.h>

#include <algorithm>

#include "auto_player.h"
#include "support/test_support.h"

namespace {

TEST(Soak, LastLevelsAndTheWrapCompleteWithSteadyEffectsAndMemory) {
    if (!std::filesystem::exists(gameFolder() / "maps/newmapdata.cwm")) GTEST_SKIP() << "no built game folder";
    SoakOptions options;
    options.startLevel = 74;
    options.levelsToComplete = 6;
    options.leaveEvery = 3;
    const SoakReport report = runSoak(gameFolder(), options);
    ASSERT_TRUE(report.faults.empty()) << report.faults.front();

    std::vector<int> completed;
    for (const LevelFigures& level : report.levels) completed.push_back(level.levelIndex);
    EXPECT_EQ(completed, (std::vector<int>{74, 75, 76, 77, 0, 1}));
    EXPECT_EQ(report.leaves, 2);  // the continue at the start and one leave on the way
    for (const LevelFigures& level : report.levels) {
        // One falling light a frame, each gone within a couple of hundred frames.
        EXPECT_LE(level.lights, 400u) << "level " << level.levelIndex;
        EXPECT_GT(level.lights, 20u) << "level " << level.levelIndex;
        // A ghost per click, each gone within a second.
        EXPECT_LE(level.ghosts, 40u) << "level " << level.levelIndex;
        EXPECT_LE(level.sparkles, 400u) << "level " << level.levelIndex;
    }
    EXPECT_LE(report.menuParticles, 400u);
    // AddressSanitizer holds freed memory back in its quarantine, so resident memory climbs
    // there whatever the game does; the sanitizer build finds leaks its own way.
#ifndef __SANITIZE_ADDRESS__
    EXPECT_LT(report.levels.back().residentKb - report.levels.front().residentKb, 16 * 1024);
#endif
}

}  // namespace
