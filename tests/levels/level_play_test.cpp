// Levels started the way the game starts them (mirror at random, every piece turned
// at random) and played to the end by clicking: the stored solution survives both.

#include <gtest/gtest.h>

#include "level_test_support.h"
#include "levels/level_check.h"
#include "levels/level_files.h"
#include "levels/quiet_events.h"
#include "levels/side_masks.h"
#include "media/scripted/scripted_media.h"
#include "support/test_support.h"

namespace {

// The left-right mirror image of a set of open sides: east and west swap.
int mirroredSides(int sides)
{
    const int east = sides & sideBit(East), west = sides & sideBit(West);
    return (sides & ~(sideBit(East) | sideBit(West))) | (east ? sideBit(West) : 0) | (west ? sideBit(East) : 0);
}

int solvedTile(const LevelDesign& design, int column, int row, bool mirrored)
{
    const int from = mirrored ? design.columns - 1 - column : column;
    const DesignCell& cell = design.at(from, row);
    const Shape shape = shapeOf(cell);
    if (shape == Shape::Floor)
        return cell.floorPicture;
    if (shape == Shape::ServerPicture)
        return cell.device == DeviceServerTop ? ServerTopTile : ServerBottomTile;
    return kindOfSides(mirrored ? mirroredSides(cell.sides) : cell.sides) + CableTileBase;
}

// The stored solution, or its mirror image when the level build mirrored the board.
Grid solvedTiles(const Board& board, const LevelDesign& design)
{
    bool mirrored = false;
    for (int column = 0; column < design.columns; ++column) {
        for (int row = 0; row < design.rows; ++row) {
            const int device = design.at(column, row).device;
            const int built = board.device[column][row];
            const bool same = built == device || (isComputerCode(device) && built == DeviceComputer);
            mirrored = mirrored || !same;
        }
    }
    Grid tiles = board.tile;
    for (int column = 0; column < design.columns; ++column) {
        for (int row = 0; row < design.rows; ++row)
            tiles[column][row] = solvedTile(design, column, row, mirrored);
    }
    return tiles;
}

bool alreadySolved(Board board)
{
    VirusWatch watch;
    QuietEvents events;
    updateConnections(board, buildConnectorTable(), watch, events);
    return testCompletion(board);
}

// The level as the game starts it from a few seeds, each played to completion.
void playFromRandomStarts(int level)
{
    for (int seed = 1; seed <= 5; ++seed) {
        ScriptedMedia media;
        media.seedRandom(seed * 7919);
        Board board;
        auto mapData = std::make_unique<MapData>();
        loadMapData(media, *mapData);
        buildLevel(board, *mapData, level, media.randomGenerator());
        EXPECT_FALSE(alreadySolved(board)) << "level " << level << " seed " << seed;
        const std::vector<std::string> faults = playLevelOut(board, solvedTiles(board, sharedLevels()[level].design));
        EXPECT_TRUE(faults.empty()) << "level " << level << " seed " << seed << ": " << faults.front();
    }
}

}  // namespace

// Every level, so every board size, every virus level and every FaxModem group is played.
// The shape of every set of open sides (N 1, E 2, S 4, W 8): how many ways it can be scrambled.
TEST(LevelPlay, EachSetOfOpenSidesHasItsShape)
{
    const Shape shapes[16] = {Shape::Floor,  Shape::End, Shape::End, Shape::Corner, Shape::End,      Shape::Straight,
                              Shape::Corner, Shape::Tee, Shape::End, Shape::Corner, Shape::Straight, Shape::Tee,
                              Shape::Corner, Shape::Tee, Shape::Tee, Shape::Cross};
    for (int sides = 0; sides < 16; ++sides)
        EXPECT_EQ(shapeOf(DesignCell{sides, EmptyDeviceCode, FirstFloorTile}), shapes[sides]) << sides;
    EXPECT_EQ(shapeOf(DesignCell{0, DeviceServerTop, FirstFloorTile}), Shape::ServerPicture);
}

TEST(LevelPlay, BuiltLevelsAreWonByTurningPiecesAndCleaning)
{
    ScratchFolder folder("play");
    ASSERT_EQ(writeLevelFiles(folder.path(), sharedLevels()), "");
    WorkingFolder working(folder.path());
    for (int level = 0; level < LevelCount; ++level) {
        playFromRandomStarts(level);
    }
}
