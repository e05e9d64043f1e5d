#pragma once
// A level as the generator sees it: the shape of the piece on every cell, the sides
// it opens in the stored (solved) orientation, and the device standing on it.

#include <array>

#include "board/board.h"

// Generated levels keep every computer within this wave of the flood, which itself
// stops after wave 50: a margin for the player's detours.
constexpr int MaxStoredWave = 45;
constexpr int FloodWaveLimit = 50;
// The device code of a cell without a device.
constexpr int EmptyDeviceCode = NoDevice;

enum class Shape { Floor, End, Straight, Corner, Tee, Cross, ServerPicture };

struct DesignCell {
    int sides = 0;  // open sides as stored: bit s for side s (N 0, E 1, S 2, W 3)
    int device = EmptyDeviceCode;
    int floorPicture = FirstFloorTile;
};

struct LevelDesign {
    int sizeClass = 0;
    int columns = 4, rows = 5;
    int serverX = 0, serverY = 0;
    std::array<std::array<DesignCell, BoardRows>, BoardColumns> cells{};

    DesignCell& at(int column, int row)
    {
        return cells[column][row];
    }
    const DesignCell& at(int column, int row) const
    {
        return cells[column][row];
    }
    bool inside(int column, int row) const
    {
        return column >= 0 && row >= 0 && column < columns && row < rows;
    }
};

// Board size of each SizeClass.
constexpr std::array<int, 4> SizeClassColumns = {4, 6, 10, 14};
constexpr std::array<int, 4> SizeClassRows = {5, 7, 9, 11};

Shape shapeOf(const DesignCell& cell);
bool isComputerCode(int device);
bool isDeviceCode(int device);
