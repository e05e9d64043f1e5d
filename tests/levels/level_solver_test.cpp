// The solution counter against hand-made boards and against trying every orientation
// with the game's own floods.

#include <gtest/gtest.h>

#include "level_test_support.h"
#include "levels/level_encoding.h"
#include "levels/level_grower.h"
#include "levels/level_solver.h"
#include "levels/quiet_events.h"
#include "levels/side_masks.h"

namespace {

// Every orientation of every piece, each judged by the game's floods.
int countByTryingAll(const LevelDesign& design)
{
    auto mapData = std::make_unique<MapData>();
    storeLevel(*mapData, 0, encodeLevel(design));
    Board board;
    copyLevel(board, *mapData, 0);
    createDevices(board);
    std::vector<std::pair<int, int>> cells;
    std::vector<std::vector<int>> tiles;
    for (int column = 0; column < board.columns; ++column) {
        for (int row = 0; row < board.rows; ++row) {
            const int sides = sidesOfKind(kindOfTile(board.tile[column][row]));
            if (sides == 0 || sides == 15)
                continue;
            int count = 0;
            const auto turns = orientationsOf(sides, count);
            std::vector<int> options;
            for (int i = 0; i < count; ++i) {
                const int tile = kindOfSides(turns[i]) + CableTileBase;
                const int device = board.device[column][row];
                if (!(device == DeviceServerTop && turns[i] == sideBit(South)) &&
                    !(device == DeviceServerBottom && turns[i] == sideBit(North))) {
                    options.push_back(tile);
                }
            }
            cells.emplace_back(column, row);
            tiles.push_back(options);
        }
    }
    const ConnectorTable connectors = buildConnectorTable();
    VirusWatch watch;
    QuietEvents events;
    std::vector<size_t> pick(cells.size(), 0);
    int solutions = 0;
    while (true) {
        for (size_t i = 0; i < cells.size(); ++i)
            board.tile[cells[i].first][cells[i].second] = tiles[i][pick[i]];
        updateConnections(board, connectors, watch, events);
        int reached = 0;
        for (const Computer& computer : board.computers)
            reached += computer.reached;
        solutions += reached == static_cast<int>(board.computers.size()) ? 1 : 0;
        size_t i = 0;
        while (i < cells.size() && ++pick[i] == tiles[i].size())
            pick[i++] = 0;
        if (i == cells.size())
            return solutions;
    }
}

// Server at (0, 0), top output east, a straight, a computer.
LevelDesign shortLine()
{
    LevelDesign design = emptyDesign(0, 0, 0);
    int x = 0, y = 0;
    layRun(design, x, y, East, 2);
    design.at(x, y).device = DeviceComputer;
    return design;
}

}  // namespace

TEST(LevelSolver, AStraightLineHasOneSolutionLitInWaveThree)
{
    const SolveResult result = countSolutions(shortLine(), 16, 100000);
    EXPECT_TRUE(result.unique());
    EXPECT_EQ(result.longestWave, 3);
}

TEST(LevelSolver, APieceThatCanNeverConnectMultipliesTheCount)
{
    LevelDesign design = shortLine();
    design.at(3, 4).sides = sideBit(North) | sideBit(West);  // a corner walled in by floor
    const SolveResult result = countSolutions(design, 16, 100000);
    EXPECT_TRUE(result.exhausted);
    EXPECT_EQ(result.solutions, 4);
    EXPECT_FALSE(result.unique());
}

TEST(LevelSolver, AComputerPastTheLastWaveShowsInTheLongestWave)
{
    // A snake over the 14 x 11 board: 60 steps from the Server to the computer.
    LevelDesign design = emptyDesign(3, 0, 0);
    int x = 0, y = 0;
    layRun(design, x, y, East, 13);
    layRun(design, x, y, South, 2);
    layRun(design, x, y, West, 12);
    layRun(design, x, y, South, 2);
    layRun(design, x, y, East, 12);
    layRun(design, x, y, South, 2);
    layRun(design, x, y, West, 12);
    layRun(design, x, y, South, 4);
    design.at(x, y).device = DeviceComputer;
    const SolveResult result = countSolutions(design, 16, 1000000);
    EXPECT_TRUE(result.exhausted);
    EXPECT_GT(result.longestWave, FloodWaveLimit);
}

TEST(LevelSolver, AgreesWithTryingEveryOrientationOnSmallBoards)
{
    LevelPlan plan;
    plan.sizeClass = 0;
    plan.computers = 2;
    plan.fillPercent = 35;
    plan.branchMin = 1;
    plan.branchMax = 3;
    plan.twoOutputsPercent = 50;
    plan.crossPercent = 50;
    int unique = 0, several = 0;
    for (uint64_t seed = 1; seed <= 40; ++seed) {
        LevelRandom random(seed);
        LevelDesign design;
        if (!growLevel(plan, random, design) || measureLevel(design).pieces > 9)
            continue;
        const SolveResult result = countSolutions(design, 100000, 10000000);
        ASSERT_TRUE(result.exhausted);
        EXPECT_EQ(result.solutions, countByTryingAll(design)) << "seed " << seed;
        (result.solutions == 1 ? unique : several) += 1;
    }
    // Both kinds must have been met, or the comparison proves little.
    EXPECT_GT(unique, 0);
    EXPECT_GT(several, 0);
}
