#pragma once
// The bytes of the map data file and of the initial records file.

#include <cstdint>
#include <vector>

#include "levels/level_design.h"

constexpr int LevelRecordSize = 310;
constexpr int MapDataSize = LevelRecordSize * LevelCount;
// 99:59 in frames: any real level time beats it.
constexpr int32_t InitialBestTime = 359940;

// Tile code of a cell as the map data stores it.
int storedTile(const LevelDesign& design, int column, int row);
int storedDevice(const LevelDesign& design, int column, int row);
// One level record of 310 bytes: (tile, device) column by column, SizeClass, reserved.
std::vector<uint8_t> encodeLevel(const LevelDesign& design);
// The game's own level store, filled from our records, for checks with the board code.
void storeLevel(MapData& mapData, int level, const std::vector<uint8_t>& record);
// 78 best times of 99:59, little-endian.
std::vector<uint8_t> initialRecords();
