// The map file and the level build: reading, copying, mirroring, scrambling, devices.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "board/board_fixture.h"
#include "media/scripted/scripted_media.h"
#include "support/test_support.h"

namespace {

// Small seeds all give the same first draw from this generator (its first step is
// seed x 48271, far below 2^31), so the tests spread theirs out.
int spreadSeed(int n)
{
    return n * 50021 + 1;
}

// A map file in a scratch working folder, and a board built from it.
struct MapFolder {
    ScratchFolder scratch{"board-map"};
    WorkingFolder working{scratch.path()};
    ScriptedMedia media;
    MapData mapData;
    Board board;

    explicit MapFolder(const std::vector<MapFileLevel>& levels)
    {
        write(mapFileBytes(levels));
    }
    void write(const std::vector<uint8_t>& bytes)
    {
        writeBytes(scratch.file("maps/newmapdata.cwm"), bytes);
    }
    void build(int level, int seed)
    {
        media.seedRandom(spreadSeed(seed));
        loadMapData(media, mapData);
        buildLevel(board, mapData, level, media.randomGenerator());
    }
};

// Level 0: a 6 x 7 level with a computer in column 0 and a Server in column 2.
MapFileLevel sixColumnLevel()
{
    MapFileLevel level;
    level.sizeClass = 1;
    level.reserved = 9;
    level.cells = {{{0, 3}, {cableTile(EndW), DeviceComputerAlt}},
                   {{2, 0}, {cableTile(EndS), DeviceServerTop}},
                   {{2, 1}, {cableTile(EndN), DeviceServerBottom}},
                   {{4, 4}, {cableTile(Cross), DeviceVirusComputer}},
                   {{5, 6}, {cableTile(EndE), DeviceFaxModem}},
                   {{1, 0}, {120, NoDevice}},  // past the tile sheet: stored as it is
                   {{10, 10}, {cableTile(CornerNE), NoDevice}}};
    return level;
}

TEST(MapFile, RecordsAreReadColumnByColumn)
{
    MapFolder folder({sixColumnLevel(), MapFileLevel{{{{13, 10}, {cableTile(TeeNES), 7}}}, 2, 200}});
    loadMapData(folder.media, folder.mapData);
    EXPECT_EQ(folder.mapData.tile[0][0][3], cableTile(EndW));
    EXPECT_EQ(folder.mapData.device[0][0][3], DeviceComputerAlt);
    EXPECT_EQ(folder.mapData.device[0][2][0], DeviceServerTop);
    EXPECT_EQ(folder.mapData.sizeClass[0], 1);
    EXPECT_EQ(folder.mapData.reserved[0], 9);
    EXPECT_EQ(folder.mapData.tile[1][13][10], cableTile(TeeNES));
    EXPECT_EQ(folder.mapData.device[1][13][10], 7);
    EXPECT_EQ(folder.mapData.reserved[1], 200);
}

TEST(MapFile, ShortFileReadsZerosAndMissingFileStopsTheGame)
{
    MapFolder folder({sixColumnLevel()});
    std::vector<uint8_t> bytes = mapFileBytes({sixColumnLevel()});
    bytes.resize(310 + 5);
    folder.write(bytes);
    folder.build(2, 1);
    // Missing bytes read 0: tile 0 and a computer on every cell of the storage, SizeClass 0.
    EXPECT_EQ(folder.board.columns, 4);
    EXPECT_EQ(folder.board.computerCount, BoardColumns * BoardRows);
    EXPECT_EQ(folder.board.tile[13][10], 0);

    std::filesystem::remove(folder.scratch.file("maps/newmapdata.cwm"));
    try {
        folder.build(0, 1);
        FAIL() << "expected a fatal error";
    } catch (const FatalError& error) {
        EXPECT_NE(std::string(error.what()).find("maps/newmapdata.cwm"), std::string::npos);
    }
}

TEST(LevelBuild, DevicesRecordsAndGeometry)
{
    MapFolder folder({sixColumnLevel()});
    std::set<bool> mirrorings;
    for (int seed = 1; seed < 40; ++seed) {
        folder.build(0, seed);
        const Board& board = folder.board;
        ASSERT_EQ(board.computers.size(), 2u);
        EXPECT_EQ(board.computerCount, 2);
        const bool mirrored = computerAt(folder.board, 5, 3) != nullptr;
        mirrorings.insert(mirrored);
        const int computerColumn = mirrored ? 5 : 0;
        ASSERT_NE(computerAt(folder.board, computerColumn, 3), nullptr);
        EXPECT_EQ(board.device[computerColumn][3], DeviceComputer) << "code 40 becomes 0";
        EXPECT_EQ(board.serverX, mirrored ? 3 : 2);
        EXPECT_EQ(board.serverY, 0);
        EXPECT_EQ(board.faxModems.at(0).x, mirrored ? 0 : 5);
        EXPECT_EQ(board.tile[mirrored ? 4 : 1][0], 120) << "pictures move but keep their code";
        EXPECT_EQ(board.columns, 6);
        EXPECT_EQ(board.originX, 256);
        EXPECT_EQ(board.originY, 132);
        EXPECT_EQ(board.sizeClass, 1);
    }
    EXPECT_EQ(mirrorings.size(), 2u) << "both the level and its mirror image come up";
}

TEST(LevelBuild, CarrierIsAComputerWithAHiddenVirus)
{
    MapFolder folder({sixColumnLevel()});
    folder.build(0, 3);
    int carriers = 0;
    for (const Computer& computer : folder.board.computers) {
        carriers += computer.hasVirus;
        EXPECT_EQ(computer.state, NotConnected);
        EXPECT_EQ(folder.board.device[computer.x][computer.y], DeviceComputer);
    }
    EXPECT_EQ(carriers, 1);
}

TEST(LevelBuild, MirrorMovesOnlyTheActiveArea)
{
    Board board = emptyBoard(1);
    placeDevice(board, 0, 3, DeviceComputer, cableTile(CornerNW));
    placeDevice(board, 1, 0, DeviceServerTop, cableTile(EndS));  // EndS is fixed to EndW after the move
    placeDevice(board, 1, 1, DeviceServerBottom, cableTile(EndN));
    board.tile[8][3] = cableTile(CornerES);  // outside the 6 x 7 area
    board.tile[2][8] = cableTile(CornerSW);
    board.tile[1][7] = cableTile(CornerES);   // just below the area
    board.tile[13][2] = cableTile(CornerES);  // the last column of the storage
    mirrorBoard(board);
    createDevices(board);
    EXPECT_EQ(board.computers.at(0).x, 5);
    EXPECT_EQ(board.tile[5][3], cableTile(CornerNW)) << "a north-west corner stays a north-west corner";
    EXPECT_EQ(board.tile[4][0], cableTile(EndW));
    EXPECT_EQ(board.tile[4][1], cableTile(EndE));
    EXPECT_EQ(board.serverX, 4);
    EXPECT_EQ(board.tile[8][3], cableTile(CornerES));
    EXPECT_EQ(board.tile[2][8], cableTile(CornerSW));
    EXPECT_EQ(board.tile[1][7], cableTile(CornerES));
    EXPECT_EQ(board.tile[13][2], cableTile(CornerES));
}

TEST(LevelBuild, EachSizeClassIsCentredOnTheScreen)
{
    std::vector<MapFileLevel> levels(4);
    for (int sizeClass = 0; sizeClass < 4; ++sizeClass)
        levels[sizeClass].sizeClass = sizeClass;
    MapFolder folder(levels);
    loadMapData(folder.media, folder.mapData);
    // Columns, rows and the top-left corner of 48-pixel cells centred on 800 x 600.
    const std::array<std::array<int, 4>, 4> expected = {
        {{4, 5, 304, 180}, {6, 7, 256, 132}, {10, 9, 160, 84}, {14, 11, 64, 36}}};
    for (int sizeClass = 0; sizeClass < 4; ++sizeClass) {
        copyLevel(folder.board, folder.mapData, sizeClass);
        const Board& board = folder.board;
        EXPECT_EQ((std::array<int, 4>{board.columns, board.rows, board.originX, board.originY}), expected[sizeClass]);
    }
}

TEST(LevelBuild, CopyFixesTheServerAndUnknownSizesKeepTheOldGeometryButShowNoBackdrop)
{
    MapFileLevel bigLevel;
    bigLevel.cells = {{{3, 3}, {cableTile(EndS), DeviceServerTop}}, {{3, 4}, {cableTile(EndN), DeviceServerBottom}}};
    MapFileLevel oddSize = bigLevel;
    oddSize.sizeClass = 4;  // the first class past the table
    MapFolder folder({bigLevel, oddSize});
    loadMapData(folder.media, folder.mapData);
    copyLevel(folder.board, folder.mapData, 0);
    EXPECT_EQ(folder.board.tile[3][3], cableTile(EndW));
    EXPECT_EQ(folder.board.tile[3][4], cableTile(EndE));
    copyLevel(folder.board, folder.mapData, 1);
    EXPECT_EQ(folder.board.columns, 14);
    EXPECT_EQ(folder.board.rows, 11);
    EXPECT_EQ(folder.board.originX, 64);
    EXPECT_EQ(folder.board.rows, 11);
    EXPECT_EQ(folder.board.originY, 36);
    EXPECT_EQ(folder.board.sizeClass, 4) << "no backdrop belongs to an unknown size";

    Board fresh;
    copyLevel(fresh, folder.mapData, 1);
    EXPECT_EQ(fresh.columns, 0);
    copyLevel(fresh, folder.mapData, LevelCount);  // past the last level: an empty board
    createDevices(fresh);
    EXPECT_TRUE(fresh.computers.empty());
}

TEST(LevelBuild, ScrambleKeepsShapesAndReachesEveryOrientation)
{
    // Every orientation of every shape as a starting tile: none may keep its turn for good.
    const std::vector<std::vector<int>> groups = {
        {cableTile(StraightNS), cableTile(StraightEW)},
        {cableTile(CornerNW), cableTile(CornerNE), cableTile(CornerES), cableTile(CornerSW)},
        {cableTile(TeeNEW), cableTile(TeeNES), cableTile(TeeESW), cableTile(TeeNSW)},
        {cableTile(EndW), cableTile(EndN), cableTile(EndE), cableTile(EndS)}};
    std::map<int, std::set<int>> seen;  // starting tile -> tiles it became
    ScriptedMedia media;
    media.seedRandom(12345);
    for (int build = 0; build < 60; ++build) {
        Board board = emptyBoard(3);
        for (size_t g = 0; g < groups.size(); ++g)
            for (size_t i = 0; i < groups[g].size(); ++i)
                board.tile[g][i] = groups[g][i];
        board.tile[5][5] = cableTile(Cross);
        board.tile[6][6] = ServerTopTile;
        board.tile[13][10] = FirstFloorTile + 10;
        scrambleBoard(board, media.randomGenerator());
        for (size_t g = 0; g < groups.size(); ++g) {
            for (size_t i = 0; i < groups[g].size(); ++i) {
                const int tile = board.tile[g][i];
                ASSERT_NE(std::find(groups[g].begin(), groups[g].end(), tile), groups[g].end()) << tile;
                seen[groups[g][i]].insert(tile);
            }
        }
        EXPECT_EQ(board.tile[5][5], cableTile(Cross));
        EXPECT_EQ(board.tile[6][6], ServerTopTile);
        EXPECT_EQ(board.tile[13][10], FirstFloorTile + 10);
    }
    for (const std::vector<int>& group : groups)
        for (int start : group)
            EXPECT_EQ(seen[start].size(), group.size()) << "starting from tile " << start;
}

TEST(LevelBuild, RandomNumbersAreDrawnMirrorFirstThenColumnByColumn)
{
    // Pieces outside the active area are scrambled too, in storage order.
    MapFileLevel level;
    level.sizeClass = 0;
    level.cells = {{{0, 0}, {cableTile(EndE), DeviceServerTop}},
                   {{0, 1}, {cableTile(EndW), DeviceServerBottom}},
                   {{0, 4}, {cableTile(CornerNW), NoDevice}},
                   {{9, 2}, {cableTile(StraightNS), NoDevice}},
                   {{2, 2}, {cableTile(TeeNEW), NoDevice}}};
    MapFolder folder({level});
    std::set<bool> mirrorings;
    for (int seed = 4240; seed < 4250; ++seed) {
        folder.build(0, seed);
        ScriptedMedia replay;
        replay.seedRandom(spreadSeed(seed));
        const bool mirrored = replay.randomInt(0, 1) == 1;
        mirrorings.insert(mirrored);
        // Mirrored, the tee (column 1) comes before the Server's column (3).
        const int teeFirst = mirrored ? replay.randomInt(6, 9) : 0;
        const int top = replay.randomInt(11, 14), bottom = replay.randomInt(11, 14);
        const int corner = replay.randomInt(2, 5);
        const int tee = mirrored ? teeFirst : replay.randomInt(6, 9);
        const int straight = replay.randomInt(0, 1);
        const int serverColumn = mirrored ? 3 : 0;
        const Board& board = folder.board;
        EXPECT_EQ(board.serverX, serverColumn);
        EXPECT_EQ(board.tile[serverColumn][0], cableTile(serverRestrictedKind(DeviceServerTop, top)));
        EXPECT_EQ(board.tile[serverColumn][1], cableTile(serverRestrictedKind(DeviceServerBottom, bottom)));
        EXPECT_EQ(board.tile[serverColumn][4], cableTile(corner));
        EXPECT_EQ(board.tile[mirrored ? 1 : 2][2], cableTile(tee));
        EXPECT_EQ(board.tile[9][2], cableTile(straight));
    }
    EXPECT_EQ(mirrorings.size(), 2u);
}

TEST(LevelBuild, ServerOutputsAfterTheScramble)
{
    MapFileLevel level;
    level.sizeClass = 0;
    level.cells = {{{1, 1}, {cableTile(EndS), DeviceServerTop}}, {{1, 2}, {cableTile(EndN), DeviceServerBottom}}};
    MapFolder folder({level});
    std::set<int> tops, bottoms;
    for (int seed = 1; seed <= 60; ++seed) {
        folder.build(0, seed);
        const int column = folder.board.serverX;
        tops.insert(folder.board.tile[column][1]);
        bottoms.insert(folder.board.tile[column][2]);
    }
    EXPECT_EQ(tops, (std::set<int>{cableTile(EndW), cableTile(EndN), cableTile(EndE)}));
    EXPECT_EQ(bottoms, (std::set<int>{cableTile(EndW), cableTile(EndE), cableTile(EndS)}));
}

}  // namespace
