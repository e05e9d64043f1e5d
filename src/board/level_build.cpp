// The level start: copy a level out of the store, mirror it at random, give every
// piece a random orientation, and create the device records.

#include "board/board.h"
#include "media/random_generator.h"
#include "media/screen.h"

#include <algorithm>

namespace {

struct Geometry {
    int columns, rows, originX, originY;
};

// Every size of board is centred on the screen.
constexpr Geometry geometryOfSizeClass(int columns, int rows)
{
    return {columns, rows, (ScreenWidth - CellSize * columns) / 2, (ScreenHeight - CellSize * rows) / 2};
}

constexpr std::array<Geometry, 4> SizeClasses = {geometryOfSizeClass(4, 5), geometryOfSizeClass(6, 7),
                                                 geometryOfSizeClass(10, 9), geometryOfSizeClass(14, 11)};

void applySizeClass(Board& board, int sizeClass)
{
    // The level's own class picks the backdrop (none for an unknown one); an
    // unknown size keeps the board's geometry as it was.
    board.sizeClass = sizeClass;
    if (sizeClass < 0 || sizeClass >= static_cast<int>(SizeClasses.size())) {
        return;
    }
    const Geometry& geometry = SizeClasses[sizeClass];
    board.columns = geometry.columns;
    board.rows = geometry.rows;
    board.originX = geometry.originX;
    board.originY = geometry.originY;
}

// A random orientation of the same shape; the Cross and pictures keep theirs.
int scrambledKind(int kind, RandomGenerator& random)
{
    if (kind == StraightNS || kind == StraightEW) {
        return random.integer(StraightNS, StraightEW);
    }
    if (kind >= CornerNW && kind <= CornerSW) {
        return random.integer(CornerNW, CornerSW);
    }
    if (kind >= TeeNEW && kind <= TeeNSW) {
        return random.integer(TeeNEW, TeeNSW);
    }
    if (kind >= EndW && kind <= EndS) {
        return random.integer(EndW, EndS);
    }
    return kind;
}

void addComputer(Board& board, int column, int row, bool hasVirus)
{
    Computer computer;
    computer.x = column;
    computer.y = row;
    computer.hasVirus = hasVirus;
    board.computers.push_back(computer);
    board.computerCount += 1;
}

void addFaxModem(Board& board, int column, int row)
{
    FaxModem faxModem;
    faxModem.x = column;
    faxModem.y = row;
    board.faxModems.push_back(faxModem);
}

// One cell of the device scan; computer cells all end up holding code 0.
void createDeviceAt(Board& board, int column, int row)
{
    int& device = board.device[column][row];
    switch (device) {
    case DeviceComputer:
    case DeviceComputerAlt:
        addComputer(board, column, row, false);
        device = DeviceComputer;
        break;
    case DeviceVirusComputer:
        addComputer(board, column, row, true);
        device = DeviceComputer;
        break;
    case DeviceServerTop:
        board.serverX = column;
        board.serverY = row;
        break;
    case DeviceFaxModem:
        addFaxModem(board, column, row);
        break;
    default:
        break;
    }
}

}  // namespace

void fixServerOutputs(Board& board, int columns, int rows)
{
    for (int column = 0; column < columns && column < BoardColumns; ++column) {
        for (int row = 0; row < rows && row < BoardRows; ++row) {
            int& tile = board.tile[column][row];
            tile = serverRestrictedKind(board.device[column][row], tile - CableTileBase) + CableTileBase;
        }
    }
}

void copyLevel(Board& board, const MapData& mapData, int level)
{
    // There is no level past the last one: a level outside the store leaves an
    // empty board (no devices, no pieces) rather than reading beyond it.
    if (level < 0 || level >= LevelCount) {
        for (auto& column : board.tile)
            column.fill(0);
        for (auto& column : board.device)
            column.fill(NoDevice);
        return;
    }
    board.tile = mapData.tile[level];
    board.device = mapData.device[level];
    fixServerOutputs(board, BoardColumns, BoardRows);
    applySizeClass(board, mapData.sizeClass[level]);
}

void mirrorBoard(Board& board)
{
    const Grid tiles = board.tile;
    const Grid devices = board.device;
    const int columns = std::min(board.columns, BoardColumns);
    const int rows = std::min(board.rows, BoardRows);
    for (int column = 0; column < columns; ++column) {
        for (int row = 0; row < rows; ++row) {
            // Only positions move; the pieces keep their tile codes.
            board.tile[columns - 1 - column][row] = tiles[column][row];
            board.device[columns - 1 - column][row] = devices[column][row];
        }
    }
    fixServerOutputs(board, board.columns, board.rows);
}

void scrambleBoard(Board& board, RandomGenerator& random)
{
    // The whole storage, column by column: this order fixes which random number
    // lands on which piece.
    for (int column = 0; column < BoardColumns; ++column) {
        for (int row = 0; row < BoardRows; ++row) {
            int& tile = board.tile[column][row];
            tile = scrambledKind(tile - CableTileBase, random) + CableTileBase;
        }
    }
}

void createDevices(Board& board)
{
    // The rotation ghosts belong to the play loop, which empties them itself.
    board.computers.clear();
    board.faxModems.clear();
    board.serverX = 0;
    board.serverY = 0;
    for (int column = 0; column < BoardColumns; ++column) {
        for (int row = 0; row < BoardRows; ++row) {
            createDeviceAt(board, column, row);
        }
    }
}

void buildLevel(Board& board, const MapData& mapData, int level, RandomGenerator& random)
{
    board.computerCount = 0;
    copyLevel(board, mapData, level);
    if (random.integer(0, 1) == 1) {
        mirrorBoard(board);
    }
    scrambleBoard(board, random);
    fixServerOutputs(board, board.columns, board.rows);
    createDevices(board);
}
