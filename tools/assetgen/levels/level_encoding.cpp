// The bytes of the map data file and of the initial records file.

#include "levels/level_encoding.h"

#include "levels/side_masks.h"

int storedTile(const LevelDesign& design, int column, int row)
{
    if (!design.inside(column, row)) {
        return FirstFloorTile;  // never drawn; a picture, so it never turns
    }
    const DesignCell& cell = design.at(column, row);
    switch (shapeOf(cell)) {
    case Shape::Floor:
        return cell.floorPicture;
    case Shape::ServerPicture:
        return cell.device == DeviceServerTop ? ServerTopTile : ServerBottomTile;
    default:
        return kindOfSides(cell.sides) + CableTileBase;
    }
}

int storedDevice(const LevelDesign& design, int column, int row)
{
    // Outside the active area too: the level build scans the whole storage for devices.
    return design.inside(column, row) ? design.at(column, row).device : EmptyDeviceCode;
}

std::vector<uint8_t> encodeLevel(const LevelDesign& design)
{
    std::vector<uint8_t> record;
    record.reserve(LevelRecordSize);
    for (int column = 0; column < BoardColumns; ++column) {
        for (int row = 0; row < BoardRows; ++row) {
            record.push_back(static_cast<uint8_t>(storedTile(design, column, row)));
            record.push_back(static_cast<uint8_t>(storedDevice(design, column, row)));
        }
    }
    record.push_back(static_cast<uint8_t>(design.sizeClass));
    record.push_back(0);
    return record;
}

void storeLevel(MapData& mapData, int level, const std::vector<uint8_t>& record)
{
    for (int column = 0; column < BoardColumns; ++column) {
        for (int row = 0; row < BoardRows; ++row) {
            const size_t offset = static_cast<size_t>(22 * column + 2 * row);
            mapData.tile[level][column][row] = record[offset];
            mapData.device[level][column][row] = record[offset + 1];
        }
    }
    mapData.sizeClass[level] = record[308];
    mapData.reserved[level] = record[309];
}

std::vector<uint8_t> initialRecords()
{
    std::vector<uint8_t> bytes;
    for (int level = 0; level < LevelCount; ++level) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(InitialBestTime) >> shift));
        }
    }
    return bytes;
}
