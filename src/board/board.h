#pragma once
// The puzzle: the grid of cable pieces and devices of the level in play, the level
// build from the map data, the per-frame connection flood, and the virus, cleaning
// and completion rules. Pure code: where a rule makes a sound or an effect it tells
// a BoardEvents sink, in order, and the play loop turns that into sound and pictures.

#include <array>
#include <string>
#include <vector>

class MediaLayer;

constexpr int BoardColumns = 14;
constexpr int BoardRows = 11;
constexpr int LevelCount = 78;
constexpr int CellSize = 48;
constexpr int CableTileBase = 81;

// Sides, clockwise from the top.
enum Side { North = 0, East = 1, South = 2, West = 3 };

// tile - 81 for the fifteen cable pieces; everything else has no connector.
enum ElementKind {
    StraightNS = 0, StraightEW, CornerNW, CornerNE, CornerES, CornerSW,
    TeeNEW, TeeNES, TeeESW, TeeNSW, Cross, EndW, EndN, EndE, EndS, NoConnector
};

// The device field of a cell.
enum DeviceCode {
    DeviceComputer = 0, DeviceComputerAlt = 40, DeviceVirusComputer = 80,
    DeviceServerTop = 96, DeviceServerBottom = 97, DeviceFaxModem = 98
};

enum ComputerState { NotConnected = 0, Connected = 1, Infected = 2 };

// Open sides of every kind: [kind][side] = 0/1.
struct ConnectorTable {
    std::array<std::array<int, 4>, 16> open{};
};
ConnectorTable buildConnectorTable();
// Kind of a tile code: tile - 81 for 81..95, NoConnector otherwise (codes below 81 included).
int kindOfTile(int tile);

struct Computer {
    int x = 0, y = 0;
    int state = NotConnected;
    int wasConnected = 0;
    int reached = 0;
    int animId = 0;
    float animPos = 0.0f;
    int animTicksLeft = 0;
    int animFrame = 0;
    int hasVirus = 0;
    int cleanable = 0;
};

struct FaxModem {
    int x = 0, y = 0;
    int active = 0;
    int blinkTicks = 0;
    int blinkFrame = 0;
};

using Grid = std::array<std::array<int, BoardRows>, BoardColumns>;  // [column][row]

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
    int sizeClass = -1;  // of the level in play; selects the backdrop (-1 before the first level)
};

// The level store read from "maps/newmapdata.cwm".
struct MapData {
    std::array<Grid, LevelCount> tile{};
    std::array<Grid, LevelCount> device{};
    std::array<int, LevelCount> sizeClass{};
    std::array<int, LevelCount> reserved{};
};

// Sounds the rules ask for.
enum class BoardSound { Click, Virus, StarUse };

// What the rules report, in the order it happens.
class BoardEvents {
public:
    virtual ~BoardEvents() = default;
    // A turned cell leaves a fading ghost of its old tile at the cell centre.
    virtual void rotationGhost(int x, int y, int tile) = 0;
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
    bool valid() const { return column >= 0; }
};

// ---- Model (board_model.cpp) ------------------------------------------------
// Cell of the active area under a screen position, or an invalid position.
CellPosition cellUnderPointer(const Board& board, int px, int py);
int cellCentreX(const Board& board, int column);
int cellCentreY(const Board& board, int row);
// First computer standing on the cell, or nullptr.
Computer* computerAt(Board& board, int column, int row);
// A quarter turn clockwise; the Server's halves never face each other.
void rotateCell(Board& board, int column, int row);
// Cleans a cleanable computer: NotConnected, a sparkle, the cleaning sound, +5 rank points.
void cleanComputer(Board& board, Computer& computer, int& rankPoints, BoardEvents& events);
// The left click on an on-board cell: clean a cleanable infected computer, or ghost + turn + click.
void leftClickCell(Board& board, int column, int row, int& rankPoints, BoardEvents& events);

// ---- Map data and level build (level_build.cpp) ------------------------------
// Reads the 78 records byte by byte; missing bytes read as 0. Stops the game when the file cannot be opened.
void loadMapData(MediaLayer& media, MapData& mapData);
void copyLevel(Board& board, const MapData& mapData, int level);
void mirrorBoard(Board& board);
void scrambleBoard(Board& board, MediaLayer& media);
// Top half never points south, bottom half never north. Covers the first columns x rows cells.
void fixServerOutputs(Board& board, int columns, int rows);
void createDevices(Board& board);
// The level start: read, copy, mirror at random, scramble, fix the Server, create the devices.
void buildLevel(Board& board, MapData& mapData, int level, MediaLayer& media);

// ---- Connection (flood.cpp) ---------------------------------------------------
void resetReach(Board& board);
void floodFromServer(Board& board, const ConnectorTable& connectors, int sx, int sy, VirusWatch& watch,
                     BoardEvents& events);
void settleComputers(Board& board);
// resetReach, both floods, settleComputers.
void updateConnections(Board& board, const ConnectorTable& connectors, VirusWatch& watch, BoardEvents& events);

// ---- Rules (rules.cpp) ----------------------------------------------------------
void stepFaxModems(Board& board, BoardEvents& events);
// True once, in the frame every computer is reached; latches by raising computerCount.
bool testCompletion(Board& board);
// The cell holds a computer that is infected and was reached by the last floods.
bool pointerOverCleanable(Board& board, CellPosition cell);
