#pragma once
// The puzzle: the grid of cable pieces and devices of the level in play, the level
// build from the map data, the per-frame connection flood, and the virus, cleaning
// and completion rules. Pure code: where a rule makes a sound or an effect it tells
// a BoardEvents sink, in order, and the play loop turns that into sound and pictures.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "board/tile_codes.h"

class MediaLayer;
class RandomGenerator;

constexpr int BoardColumns = 14;
constexpr int BoardRows = 11;
constexpr int LevelCount = 78;
constexpr int CellSize = 48;
constexpr int MapRecordBytes = 310;
constexpr size_t MapDataBytes = size_t{LevelCount} * MapRecordBytes;

// Sides, clockwise from the top.
enum Side { North = 0, East = 1, South = 2, West = 3 };

enum ComputerState { NotConnected = 0, Connected = 1, Infected = 2 };

// Open sides of every kind: [kind][side] = 0/1.
struct ConnectorTable {
    std::array<std::array<int, 4>, 16> open{};
};
ConnectorTable buildConnectorTable();

struct Computer {
    int x = 0, y = 0;
    ComputerState state = NotConnected;
    bool wasConnected = false;
    bool reached = false;
    int animId = 0;
    float animPos = 0.0f;
    int animTicksLeft = 0;
    int animFrame = 0;
    bool hasVirus = false;
    bool cleanable = false;
};

struct FaxModem {
    int x = 0, y = 0;
    bool active = false;
    int blinkTicks = 0;
    int blinkFrame = 0;
};

using Grid = std::array<std::array<int, BoardRows>, BoardColumns>;        // [column][row]
using CellFlags = std::array<std::array<bool, BoardRows>, BoardColumns>;  // [column][row]

struct Board {
    Grid tile{};
    Grid device{};
    int columns = 0, rows = 0;
    int originX = 0, originY = 0;
    std::vector<Computer> computers;
    std::vector<FaxModem> faxModems;
    int serverX = 0, serverY = 0;
    int computerCount = 0;
    Grid DepthGrid{};
    // The cells that carry the connection this frame: reached by a flood that met no virus
    // and no infected computer. Drawn lit where the player asks; no rule reads it.
    CellFlags carried{};
    int sizeClass = -1;  // of the level in play, as stored; selects the backdrop (-1 before the first level)
};

// The level store read from "maps/newmapdata.cwm".
struct MapData {
    std::array<Grid, LevelCount> tile{};
    std::array<Grid, LevelCount> device{};
    std::array<int, LevelCount> sizeClass{};
    std::array<int, LevelCount> reserved{};
};

// One stored level of the map data, read through its active area of columns x rows.
struct LevelView {
    const MapData& mapData;
    int level;
    int columns, rows;
    int tile(int column, int row) const
    {
        return mapData.tile[level][column][row];
    }
    int device(int column, int row) const
    {
        return mapData.device[level][column][row];
    }
    bool inside(int column, int row) const
    {
        return column >= 0 && row >= 0 && column < columns && row < rows;
    }
};

// Sounds the rules ask for.
enum class BoardSound { Click, Virus, StarUse };

// What the rules report, in the order it happens.
class BoardEvents {
public:
    virtual ~BoardEvents() = default;
    // A turned cell leaves a fading ghost of its old tile at the cell centre.
    virtual void rotationGhost(int x, int y, int tile) = 0;
    // The same for a cell turned back (counter-clockwise): the ghost turns the other way.
    virtual void rotationGhostBack(int x, int y, int tile)
    {
        rotationGhost(x, y, tile);
    }
    virtual void sparkle(int x, int y, float alpha, float scale) = 0;
    virtual void sound(BoardSound sound) = 0;
};

// The level's first virus reveal starts the clock of the cleaning hints.
struct VirusWatch {
    bool virusRevealed = false;
    int virusHintClock = 0;
};

struct CellPosition {
    int column = -1, row = -1;
    bool valid() const
    {
        return column >= 0;
    }
};

// ---- Model (board_model.cpp) ------------------------------------------------
// Inside the 14 x 11 storage.
bool insideStorage(int column, int row);
// Inside the first columns x rows cells, the part that is drawn, clicked and flooded.
bool insideActiveArea(const Board& board, int column, int row);
// Cell of the active area under a screen position, or an invalid position.
CellPosition cellUnderPointer(const Board& board, int px, int py);
int cellCentreX(const Board& board, int column);
int cellCentreY(const Board& board, int row);
// The computer standing on the cell, or nullptr. The level build puts at most one on a cell.
Computer* computerAt(Board& board, int column, int row);
const Computer* computerAt(const Board& board, int column, int row);
// The computer on the cell if a click would clean it (infected and reached by the last floods), or nullptr.
Computer* cleanableComputerAt(Board& board, int column, int row);
// Plays row `row` of the screen animations for `ticks` frames from its start; row 0 for 0 ticks stops it.
void startAnimation(Computer& computer, int row, int ticks);
// A quarter turn clockwise; the Server's halves never face each other.
void rotateCell(Board& board, int column, int row);
// The turn back: the tile a clockwise turn would bring to where the cell is now, so it
// undoes rotateCell exactly (the Server's halves keep their three outputs).
void rotateCellBack(Board& board, int column, int row);
// The kind a Server half may show: the top half's EndS becomes EndW, the bottom half's EndN becomes EndE.
int serverRestrictedKind(int device, int kind);
// Cleans a cleanable computer: NotConnected, a sparkle, the cleaning sound, +5 rank points.
void cleanComputer(Board& board, Computer& computer, int& rankPoints, BoardEvents& events);
// The left click on an on-board cell: clean a cleanable infected computer, or ghost + turn + click.
// A cell outside the active area does nothing.
void leftClickCell(Board& board, int column, int row, int& rankPoints, BoardEvents& events);
// A turn back, as a left click turns but the other way: ghost + turn back + click. It never
// cleans: on a computer a left click would clean it does nothing.
void turnCellBack(Board& board, int column, int row, BoardEvents& events);

// ---- Map data and level build (map_data.cpp, level_build.cpp) ----------------
// Reads the 78 records; missing bytes read as 0. Stops the game when the file cannot be read.
void loadMapData(MediaLayer& media, MapData& mapData);
// The start-up check: stops the game, naming the file and the first bad level, unless the
// map data holds exactly 78 records and every level keeps the rules below (map_check.cpp).
void checkMapData(MediaLayer& media);
// Why the bytes are no valid map data ("" when they are): the wrong size, or the first
// bad level with what is wrong with it.
std::string mapDataFault(std::span<const uint8_t> bytes);
// What breaks the rules in one level ("" when nothing): a size class outside 0..3,
// unknown device codes, devices outside the active area, tile codes there outside
// 81..119, not exactly one Server whose top half stands directly above its bottom half
// with an output on one of them, or a single FaxModem.
std::string levelFault(const MapData& mapData, int level);
// The records of a map data file, as loadMapData reads them; missing bytes read as 0.
void readMapRecords(std::span<const uint8_t> bytes, MapData& mapData);
// Copies level L into the storage (Server outputs fixed) and takes its size; a SizeClass
// outside 0..3 keeps the old size. A level outside 0..77 leaves an empty board.
void copyLevel(Board& board, const MapData& mapData, int level);
// Left-right mirror of the active area, positions only.
void mirrorBoard(Board& board);
// Every rotatable piece of the whole storage gets a random orientation of its own shape.
void scrambleBoard(Board& board, RandomGenerator& random);
// Top half never points south, bottom half never north. Covers the first columns x rows cells.
void fixServerOutputs(Board& board, int columns, int rows);
// Device records from the device codes, column by column; computer cells end up holding 0.
void createDevices(Board& board);
// The level start from the records read (loadMapData): copy, mirror at random, scramble, fix
// the Server, create the devices.
void buildLevel(Board& board, const MapData& mapData, int level, RandomGenerator& random);

// ---- Connection (flood.cpp) ---------------------------------------------------
// Clears the per-frame reach, cleanable and active flags; states carry over.
void resetReach(Board& board);
// One pass of at most 50 waves from a seed cell; a seed outside the active area reaches nothing.
void floodFromServer(Board& board, const ConnectorTable& connectors, int sx, int sy, VirusWatch& watch,
                     BoardEvents& events);
// Unreached clean computers drop to NotConnected; reached connected ones settle.
void settleComputers(Board& board);
// resetReach, both floods, settleComputers.
void updateConnections(Board& board, const ConnectorTable& connectors, VirusWatch& watch, BoardEvents& events);

// ---- Rules (rules.cpp) ----------------------------------------------------------
// Active FaxModems blink on a 40-frame cycle and send a sparkle at its end.
void stepFaxModems(Board& board, BoardEvents& events);
// True once, in the frame every computer is reached; latches by raising computerCount.
bool testCompletion(Board& board);
// The cell holds a computer that is infected and was reached by the last floods.
bool pointerOverCleanable(Board& board, CellPosition cell);
