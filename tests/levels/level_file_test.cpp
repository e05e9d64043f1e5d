// The generated map data and records files, re-checked with the game's own code.

#include <gtest/gtest.h>

#include <algorithm>

#include "level_test_support.h"
#include "levels/level_check.h"
#include "levels/level_encoding.h"
#include "levels/level_files.h"
#include "media/scripted/scripted_media.h"
#include "support/test_support.h"

namespace {

int32_t wordAt(const std::vector<uint8_t>& bytes, size_t offset)
{
    return static_cast<int32_t>(bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
                                static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

}  // namespace

TEST(LevelFile, Holds78RecordsOf310Bytes)
{
    EXPECT_EQ(mapDataBytes(sharedLevels()).size(), 24180u);
}

TEST(LevelFile, GeneratingAgainGivesTheSameBytes)
{
    EXPECT_EQ(mapDataBytes(generateLevels()), mapDataBytes(sharedLevels()));
}

TEST(LevelFile, TheBuiltGameFolderHoldsTheseLevels)
{
    const auto path = gameFolder() / "maps" / "newmapdata.cwm";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "levels not generated into " << path;
    EXPECT_EQ(readBytes(path.string()), mapDataBytes(sharedLevels()));
}

TEST(LevelFile, EveryLevelReadByTheGamePassesTheBoardChecks)
{
    ScratchFolder folder("levels");
    ASSERT_EQ(writeLevelFiles(folder.path(), sharedLevels()), "");
    WorkingFolder working(folder.path());
    ScriptedMedia media;
    auto mapData = std::make_unique<MapData>();
    loadMapData(media, *mapData);
    for (int level = 0; level < LevelCount; ++level) {
        const std::vector<std::string> faults = checkStoredLevel(*mapData, level);
        EXPECT_TRUE(faults.empty()) << "level " << level << ": " << faults.front();
        EXPECT_LE(storedLongestWave(*mapData, level), MaxStoredWave);
    }
}

TEST(LevelFile, NoCellWithoutADeviceCarriesADeviceCode)
{
    const MapData& mapData = sharedMapData();
    for (int level = 0; level < LevelCount; ++level) {
        const LevelDesign& design = sharedLevels()[level].design;
        int devices = 0;
        for (int column = 0; column < BoardColumns; ++column) {
            for (int row = 0; row < BoardRows; ++row) {
                const int device = mapData.device[level][column][row];
                const bool inside = design.inside(column, row);
                const bool hasDevice = inside && design.at(column, row).device != EmptyDeviceCode;
                EXPECT_EQ(device, hasDevice ? design.at(column, row).device : EmptyDeviceCode)
                    << "level " << level << " cell " << column << ", " << row;
                devices += isComputerCode(device) ? 1 : 0;
            }
        }
        Board board;
        copyLevel(board, mapData, level);
        createDevices(board);
        EXPECT_EQ(board.computerCount, devices) << "level " << level;
        EXPECT_EQ(board.computerCount, sharedLevels()[level].stats.computers) << "level " << level;
    }
}

TEST(LevelFile, RecordsStartAt9959AndAreNeverOverwritten)
{
    ScratchFolder folder("records");
    ASSERT_EQ(writeLevelFiles(folder.path(), sharedLevels()), "");
    const std::vector<uint8_t> records = readBytes(folder.file("oldgame.cws"));
    ASSERT_EQ(records.size(), 312u);
    for (size_t entry = 0; entry < 78; ++entry)
        EXPECT_EQ(wordAt(records, 4 * entry), 359940);

    const std::vector<uint8_t> playerRecords(312, 7);
    writeBytes(folder.file("oldgame.cws"), playerRecords);
    writeBytes(folder.file("maps/newmapdata.cwm"), {1, 2, 3});
    ASSERT_EQ(writeLevelFiles(folder.path(), sharedLevels()), "");
    EXPECT_EQ(readBytes(folder.file("oldgame.cws")), playerRecords);
    EXPECT_EQ(readBytes(folder.file("maps/newmapdata.cwm")).size(), 24180u);
}

// The checks must see real faults, or a clean bill proves nothing.
TEST(LevelFile, TheChecksCatchBrokenLevels)
{
    auto broken = std::make_unique<MapData>(sharedMapData());
    broken->device[0][13][10] = DeviceComputer;  // a computer outside the 4 x 5 board
    EXPECT_FALSE(checkStoredLevel(*broken, 0).empty());

    broken = std::make_unique<MapData>(sharedMapData());
    const LevelDesign& design = sharedLevels()[1].design;
    for (int column = 0; column < design.columns; ++column) {
        for (int row = 0; row < design.rows; ++row) {
            if (isComputerCode(design.at(column, row).device)) {
                int& tile = broken->tile[1][column][row];
                tile = tile == cableTile(EndW) ? cableTile(EndE) : cableTile(EndW);  // turned away
            }
        }
    }
    EXPECT_FALSE(checkStoredLevel(*broken, 1).empty());

    broken = std::make_unique<MapData>(sharedMapData());
    const LevelDesign& floored = sharedLevels()[2].design;
    for (int column = 0; column < floored.columns; ++column) {
        for (int row = 0; row < floored.rows; ++row) {
            if (shapeOf(floored.at(column, row)) == Shape::Floor)
                broken->tile[2][column][row] = FaxModemLitTile;  // a picture, but no floor
        }
    }
    EXPECT_FALSE(checkStoredLevel(*broken, 2).empty());

    // A computer made a FaxModem: an end as before, but a relay with no partner.
    broken = std::make_unique<MapData>(sharedMapData());
    const LevelDesign& lone = sharedLevels()[0].design;
    bool placed = false;
    for (int column = 0; column < lone.columns && !placed; ++column)
        for (int row = 0; row < lone.rows && !placed; ++row)
            if (isComputerCode(lone.at(column, row).device))
                broken->device[0][column][row] = DeviceFaxModem, placed = true;
    ASSERT_TRUE(placed);
    const std::vector<std::string> faults = checkStoredLevel(*broken, 0);
    EXPECT_NE(std::find(faults.begin(), faults.end(), "a FaxModem without a partner"), faults.end());
}
