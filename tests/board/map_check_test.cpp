// The start-up check of the map data: exact size, and the rules every level keeps.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "board/board.h"
#include "media/scripted/scripted_media.h"
#include "support/test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int Floor = 100;

void setCell(Bytes& bytes, int level, int column, int row, int tile, int device)
{
    const size_t at = static_cast<size_t>(MapRecordBytes * level + 22 * column + 2 * row);
    bytes[at] = static_cast<uint8_t>(tile);
    bytes[at + 1] = static_cast<uint8_t>(device);
}

void setSizeClass(Bytes& bytes, int level, int sizeClass)
{
    bytes[static_cast<size_t>(MapRecordBytes * level + 308)] = static_cast<uint8_t>(sizeClass);
}

// Every level: a 4 x 5 board (of a floor that fills the whole storage), the Server at
// (1, 1) and (1, 2) with its top half facing west, and a computer at (0, 1).
Bytes validMap()
{
    Bytes bytes(MapDataBytes, 0);
    for (int level = 0; level < LevelCount; ++level) {
        for (int column = 0; column < BoardColumns; ++column)
            for (int row = 0; row < BoardRows; ++row)
                setCell(bytes, level, column, row, Floor, NoDevice);
        setCell(bytes, level, 1, 1, CableTileBase + EndW, DeviceServerTop);
        setCell(bytes, level, 1, 2, 96, DeviceServerBottom);
        setCell(bytes, level, 0, 1, CableTileBase + EndE, DeviceComputer);
        setSizeClass(bytes, level, 0);
    }
    return bytes;
}

std::string faultOfLevel3(const Bytes& bytes)
{
    MapData mapData;
    readMapRecords(bytes, mapData);
    return levelFault(mapData, 3);
}

TEST(MapCheck, TheValidMapPasses)
{
    EXPECT_EQ(mapDataFault(validMap()), "");
}

TEST(MapCheck, AnythingButExactly78RecordsIsRefused)
{
    Bytes bytes = validMap();
    bytes.pop_back();
    EXPECT_EQ(mapDataFault(bytes), "24179 bytes instead of 24180 (78 levels of 310 bytes)");
    bytes.push_back(0);
    bytes.push_back(0);
    EXPECT_EQ(mapDataFault(bytes), "24181 bytes instead of 24180 (78 levels of 310 bytes)");
    EXPECT_EQ(mapDataFault(Bytes{}), "0 bytes instead of 24180 (78 levels of 310 bytes)");
}

TEST(MapCheck, NamesTheFirstBadLevelWithItsZone)
{
    Bytes bytes = validMap();
    setSizeClass(bytes, 40, 9);
    setSizeClass(bytes, 12, 4);
    EXPECT_EQ(mapDataFault(bytes), "level 12 (zone 2, level 3): unknown size class 4");
    setSizeClass(bytes, 12, 3);  // the largest board is a known size
    EXPECT_EQ(mapDataFault(bytes), "level 40 (zone 8, level 1): unknown size class 9");
    setSizeClass(bytes, 40, 0);
    setSizeClass(bytes, 77, 255);
    EXPECT_EQ(mapDataFault(bytes), "level 77 (zone 15, level 3): unknown size class 255");
}

TEST(MapCheck, DevicesStayInsideTheBoardAndUseKnownCodes)
{
    Bytes bytes = validMap();
    setCell(bytes, 3, 3, 4, CableTileBase + EndN, DeviceVirusComputer);  // the far corner of 4 x 5
    EXPECT_EQ(faultOfLevel3(bytes), "");
    setCell(bytes, 3, 4, 0, CableTileBase + EndN, DeviceComputerAlt);
    EXPECT_EQ(faultOfLevel3(bytes), "a device outside the board at (4, 0)");
    setCell(bytes, 3, 4, 0, 0, NoDevice);  // any tile outside the board: it is never shown
    setCell(bytes, 3, 0, 5, 0, DeviceComputer);
    EXPECT_EQ(faultOfLevel3(bytes), "a device outside the board at (0, 5)");
    setCell(bytes, 3, 0, 5, 0, NoDevice);
    EXPECT_EQ(faultOfLevel3(bytes), "");
    setCell(bytes, 3, 2, 2, Floor, 50);
    EXPECT_EQ(faultOfLevel3(bytes), "unknown device code 50 at (2, 2)");
    setCell(bytes, 3, 2, 2, Floor, NoDevice);
    setCell(bytes, 3, 13, 10, Floor, 7);  // unknown codes are refused outside the board too
    EXPECT_EQ(faultOfLevel3(bytes), "unknown device code 7 at (13, 10)");
}

TEST(MapCheck, EachSizeClassHasItsOwnEdges)
{
    const int sizes[][2] = {{4, 5}, {6, 7}, {10, 9}, {14, 11}};
    for (int sizeClass = 0; sizeClass < 4; ++sizeClass) {
        const int columns = sizes[sizeClass][0], rows = sizes[sizeClass][1];
        Bytes bytes = validMap();
        setSizeClass(bytes, 3, sizeClass);
        setCell(bytes, 3, columns - 1, rows - 1, CableTileBase + EndN, DeviceComputer);
        EXPECT_EQ(faultOfLevel3(bytes), "") << "size class " << sizeClass;
        if (columns < BoardColumns) {
            setCell(bytes, 3, columns, 0, CableTileBase + EndN, DeviceComputer);
            EXPECT_EQ(faultOfLevel3(bytes), "a device outside the board at (" + std::to_string(columns) + ", 0)");
            setCell(bytes, 3, columns, 0, Floor, NoDevice);
        }
        if (rows < BoardRows) {
            setCell(bytes, 3, 0, rows, CableTileBase + EndN, DeviceComputer);
            EXPECT_EQ(faultOfLevel3(bytes), "a device outside the board at (0, " + std::to_string(rows) + ")");
        }
    }
}

TEST(MapCheck, TilesOnTheBoardAreCablesOrPicturesOfTheSheet)
{
    Bytes bytes = validMap();
    setCell(bytes, 3, 2, 3, CableTileBase, NoDevice);
    setCell(bytes, 3, 3, 3, 119, NoDevice);
    EXPECT_EQ(faultOfLevel3(bytes), "");
    setCell(bytes, 3, 3, 3, 120, NoDevice);
    EXPECT_EQ(faultOfLevel3(bytes), "tile code 120 at (3, 3)");
    setCell(bytes, 3, 3, 3, 119, NoDevice);
    setCell(bytes, 3, 2, 3, CableTileBase - 1, NoDevice);
    EXPECT_EQ(faultOfLevel3(bytes), "tile code 80 at (2, 3)");
}

TEST(MapCheck, ExactlyOneServerWithBothHalvesAndAnOutput)
{
    Bytes bytes = validMap();
    setCell(bytes, 3, 1, 1, Floor, NoDevice);
    setCell(bytes, 3, 1, 2, Floor, NoDevice);
    EXPECT_EQ(faultOfLevel3(bytes), "0 Servers instead of one");
    bytes = validMap();
    setCell(bytes, 3, 3, 0, CableTileBase + EndN, DeviceServerTop);
    setCell(bytes, 3, 3, 1, CableTileBase + EndS, DeviceServerBottom);
    EXPECT_EQ(faultOfLevel3(bytes), "2 Servers instead of one");
    bytes = validMap();
    setCell(bytes, 3, 1, 2, Floor, NoDevice);
    EXPECT_EQ(faultOfLevel3(bytes), "a Server top half without its bottom half at (1, 1)");
    bytes = validMap();
    setCell(bytes, 3, 1, 1, Floor, NoDevice);
    EXPECT_EQ(faultOfLevel3(bytes), "a Server bottom half alone at (1, 2)");
    bytes = validMap();
    // Top half in the last row of the board: its bottom half would be off the board.
    setCell(bytes, 3, 1, 1, Floor, NoDevice);
    setCell(bytes, 3, 1, 2, Floor, NoDevice);
    setCell(bytes, 3, 2, 4, CableTileBase + EndW, DeviceServerTop);
    setCell(bytes, 3, 2, 5, 96, DeviceServerBottom);
    EXPECT_EQ(faultOfLevel3(bytes), "a device outside the board at (2, 5)");
    bytes = validMap();
    setSizeClass(bytes, 3, 3);
    setCell(bytes, 3, 1, 1, Floor, NoDevice);
    setCell(bytes, 3, 1, 2, Floor, NoDevice);
    setCell(bytes, 3, 5, 10, CableTileBase + EndW, DeviceServerTop);  // the last row of the storage
    setCell(bytes, 3, 6, 0, 96, DeviceServerBottom);                  // next in memory, but not below it
    EXPECT_EQ(faultOfLevel3(bytes), "a Server top half without its bottom half at (5, 10)");
    bytes = validMap();
    setCell(bytes, 3, 1, 1, 97, DeviceServerTop);  // two pictures: no output at all
    EXPECT_EQ(faultOfLevel3(bytes), "a Server without a proper output at (1, 1)");
    setCell(bytes, 3, 1, 2, CableTileBase + EndS, DeviceServerBottom);  // the bottom half's output is enough
    EXPECT_EQ(faultOfLevel3(bytes), "");
    setCell(bytes, 3, 1, 1, CableTileBase + TeeNES, DeviceServerTop);  // a tee is no Server half
    EXPECT_EQ(faultOfLevel3(bytes), "a Server without a proper output at (1, 1)");
    // The halves are judged where they stand: a good Server at (3, 1) and (3, 2), tees elsewhere.
    bytes = validMap();
    setCell(bytes, 3, 1, 1, CableTileBase + TeeNES, NoDevice);
    setCell(bytes, 3, 1, 2, CableTileBase + TeeNES, NoDevice);
    setCell(bytes, 3, 1, 3, CableTileBase + TeeNES, NoDevice);
    setCell(bytes, 3, 2, 3, CableTileBase + TeeNES, NoDevice);
    setCell(bytes, 3, 3, 1, CableTileBase + EndW, DeviceServerTop);
    setCell(bytes, 3, 3, 2, 96, DeviceServerBottom);
    EXPECT_EQ(faultOfLevel3(bytes), "");
}

TEST(MapCheck, RecordsCutShortReadTheMissingBytesAsZero)
{
    const Bytes bytes(MapDataBytes, 0xFF);
    MapData mapData;
    readMapRecords(std::span(bytes).first(22 * 2 + 2 * 3), mapData);  // ends before cell (2, 3) of level 0
    EXPECT_EQ(mapData.device[0][2][2], 0xFF);
    EXPECT_EQ(mapData.tile[0][2][3], 0);
    EXPECT_EQ(mapData.sizeClass[0], 0);
    readMapRecords(std::span(bytes).first(22 * 2 + 2 * 3 + 1), mapData);  // ends inside it
    EXPECT_EQ(mapData.tile[0][2][3], 0xFF);
    EXPECT_EQ(mapData.device[0][2][3], 0);
    readMapRecords(std::span(bytes).first(308), mapData);  // ends before the size class
    EXPECT_EQ(mapData.sizeClass[0], 0);
    readMapRecords(std::span(bytes).first(309), mapData);  // and before the reserved byte
    EXPECT_EQ(mapData.sizeClass[0], 0xFF);
    EXPECT_EQ(mapData.reserved[0], 0);
}

TEST(MapCheck, FaxModemsComeInTwosOrMore)
{
    Bytes bytes = validMap();
    setCell(bytes, 3, 3, 0, CableTileBase + EndS, DeviceFaxModem);
    EXPECT_EQ(faultOfLevel3(bytes), "a single FaxModem with no partner");
    setCell(bytes, 3, 3, 4, CableTileBase + EndN, DeviceFaxModem);
    EXPECT_EQ(faultOfLevel3(bytes), "");
}

TEST(MapCheck, TheStartUpCheckAcceptsAGoodFileAndLeavesItClosed)
{
    ScratchFolder folder("map-check");
    writeBytes(folder.file("maps/newmapdata.cwm"), validMap());
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    const auto openFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                             std::filesystem::directory_iterator());
    };
    const auto before = openFiles();
    checkMapData(media);
    EXPECT_EQ(openFiles(), before);
}

// What stops the game: a missing file, a long one, a bad level, each named in the message.
TEST(MapCheck, TheStartUpCheckStopsOnAMissingLongOrBadFileNamingIt)
{
    ScratchFolder folder("map-check-bad");
    WorkingFolder here(folder.path());
    const auto stopMessage = [] {
        ScriptedMedia media;
        try {
            checkMapData(media);
        } catch (const FatalError& error) {
            return std::string(error.what());
        }
        return std::string("(went on)");
    };
    EXPECT_EQ(stopMessage(), "cannot open map data maps/newmapdata.cwm");
    Bytes bytes = validMap();
    bytes.push_back(0);
    writeBytes(folder.file("maps/newmapdata.cwm"), bytes);
    EXPECT_EQ(stopMessage(), "bad map data maps/newmapdata.cwm: longer than 24180 bytes");
    bytes = validMap();
    setSizeClass(bytes, 6, 4);
    writeBytes(folder.file("maps/newmapdata.cwm"), bytes);
    EXPECT_EQ(stopMessage(), "bad map data maps/newmapdata.cwm: level 6 (zone 1, level 2): unknown size class 4");
}

}  // namespace
