// The large boards look full: the stored levels cover their boards, and the two tools
// that fill them (detours and the shortcut test) do what the generator relies on.

#include <gtest/gtest.h>

#include "level_test_support.h"
#include "levels/level_detours.h"
#include "levels/level_plan.h"
#include "levels/level_shortcuts.h"
#include "levels/side_masks.h"

namespace {

// A piece as the player sees it: a cable, a device's output or a Server half.
bool holdsPiece(const MapData& mapData, int level, int column, int row)
{
    const int tile = mapData.tile[level][column][row];
    const int device = mapData.device[level][column][row];
    return (tile >= CableTileBase && tile <= CableTileBase + EndS) || device == DeviceServerTop ||
           device == DeviceServerBottom;
}

int piecesIn(const LevelDesign& design)
{
    int pieces = 0;
    for (int column = 0; column < design.columns; ++column) {
        for (int row = 0; row < design.rows; ++row)
            pieces += shapeOf(design.at(column, row)) != Shape::Floor;
    }
    return pieces;
}

// Server at (0, 0) and (0, 1): the bottom half's cable runs east, south, east, two
// north and west, so the computer at its end stands just above the corner at (1, 1).
LevelDesign designWithShortcut()
{
    LevelDesign design = emptyDesign(1, 0, 0);
    int x = 0, y = 1;
    layRun(design, x, y, East, 1);
    layRun(design, x, y, South, 1);
    layRun(design, x, y, East, 1);
    layRun(design, x, y, North, 2);
    layRun(design, x, y, West, 1);
    design.at(x, y).device = DeviceComputer;
    return design;
}

// On a 14 x 11 board, a cable from the Server's top half snakes along rows 0 to 3
// and ends in a computer `stepsIntoRowThree` cells into row 3 (wave 41 + steps).
LevelDesign snakeToWave(int stepsIntoRowThree, WaveGrid& wave)
{
    LevelDesign design = emptyDesign(3, 0, 0);
    int x = 0, y = 0;
    layRun(design, x, y, East, 13);
    layRun(design, x, y, South, 1);
    layRun(design, x, y, West, 12);
    layRun(design, x, y, South, 1);
    layRun(design, x, y, East, 12);
    layRun(design, x, y, South, 1);
    layRun(design, x, y, West, stepsIntoRowThree);
    design.at(x, y).device = DeviceComputer;
    wave = WaveGrid{};
    wave[0][1] = MaxStoredWave;  // the bottom half without output is taken
    recomputeWaves(design, wave);
    return design;
}

}  // namespace

// Every board holds a piece on each edge row and column; the large ones on most cells.
TEST(LevelFill, LargeBoardsHoldAPieceOnMostCellsAndNoBoardHasABareEdge)
{
    const MapData& mapData = sharedMapData();
    for (int level = 0; level < LevelCount; ++level) {
        const LevelDesign& design = sharedLevels()[level].design;
        int pieces = 0;
        std::array<int, BoardColumns> perColumn{};
        std::array<int, BoardRows> perRow{};
        for (int column = 0; column < design.columns; ++column) {
            for (int row = 0; row < design.rows; ++row) {
                const bool piece = holdsPiece(mapData, level, column, row);
                pieces += piece;
                perColumn[column] += piece;
                perRow[row] += piece;
            }
        }
        if (design.sizeClass >= FullBoardSizeClass) {
            EXPECT_GE(pieces * 100, design.columns * design.rows * FullBoardPercent) << "level " << level;
        }
        EXPECT_GT(perColumn[0], 0) << "level " << level;
        EXPECT_GT(perColumn[design.columns - 1], 0) << "level " << level;
        EXPECT_GT(perRow[0], 0) << "level " << level;
        EXPECT_GT(perRow[design.rows - 1], 0) << "level " << level;
    }
}

TEST(LevelFill, FullBoardsStartAtTenByNine)
{
    EXPECT_EQ(SizeClassColumns[FullBoardSizeClass], 10);
    EXPECT_EQ(FullBoardPercent, 85);
}

TEST(LevelFill, AComputerBesideACornerOfItsOwnChainIsAShortcut)
{
    EXPECT_TRUE(hasShortcut(designWithShortcut()));
}

TEST(LevelFill, ChainsWithoutABypassAreNoShortcut)
{
    LevelDesign straight = emptyDesign(1, 0, 0);
    int x = 0, y = 1;
    layRun(straight, x, y, East, 4);
    straight.at(x, y).device = DeviceComputer;
    EXPECT_FALSE(hasShortcut(straight));

    // The same hook, but the piece beside the computer is a straight: turned towards
    // the computer it would become a corner, so no bypass.
    LevelDesign hook = emptyDesign(1, 0, 0);
    x = 0, y = 1;
    layRun(hook, x, y, East, 2);
    layRun(hook, x, y, South, 1);
    layRun(hook, x, y, West, 1);
    hook.at(x, y).device = DeviceComputer;
    EXPECT_FALSE(hasShortcut(hook));
}

TEST(LevelFill, ADetourWindsTheCableThroughTwoFreeCellsAndKeepsItLinked)
{
    WaveGrid wave;
    LevelDesign design = snakeToWave(2, wave);  // the computer lights in wave 43
    const int before = piecesIn(design);
    LevelRandom random(5);
    ASSERT_TRUE(addDetour(design, wave, random));
    EXPECT_EQ(piecesIn(design), before + 2);
    for (int column = 0; column < design.columns; ++column) {
        for (int row = 0; row < design.rows; ++row) {
            for (int side = North; side <= West; ++side) {
                if (!opensSide(design.at(column, row).sides, side))
                    continue;
                const int nx = column + SideStepX[side], ny = row + SideStepY[side];
                ASSERT_TRUE(design.inside(nx, ny));
                EXPECT_TRUE(opensSide(design.at(nx, ny).sides, oppositeSide(side))) << column << ", " << row;
            }
        }
    }
    EXPECT_EQ(wave[11][3], 45) << "every link leads to the computer, so it lights two waves later";
}

TEST(LevelFill, ADetourNeverPushesAComputerPastTheStoredWaveLimit)
{
    WaveGrid wave;
    LevelDesign design = snakeToWave(4, wave);  // the computer lights in wave 45
    ASSERT_EQ(wave[9][3], MaxStoredWave);
    const LevelDesign before = design;
    LevelRandom random(5);
    for (int attempt = 0; attempt < 20; ++attempt)
        EXPECT_FALSE(addDetour(design, wave, random));
    for (int column = 0; column < design.columns; ++column) {
        for (int row = 0; row < design.rows; ++row)
            EXPECT_EQ(design.at(column, row).sides, before.at(column, row).sides);
    }
}
