#pragma once
// Hand-built boards for the board tests: an event recorder, a board of a given size
// with nothing on it, cable paths laid between cells, frames run the way play does,
// and map files written byte by byte.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "board/board.h"

// Every event the rules report, in order, as text ("sound Virus", "sparkle 328 204 0.5 0.5").
struct RecordingEvents : BoardEvents {
    std::vector<std::string> log;
    void rotationGhost(int x, int y, int tile) override;
    void rotationGhostBack(int x, int y, int tile) override;
    void sparkle(int x, int y, float alpha, float scale) override;
    void sound(BoardSound sound) override;
    int count(const std::string& prefix) const;
};

// The geometry of a SizeClass, no pieces (tile 0) and no devices anywhere.
Board emptyBoard(int sizeClass);

using Cell = std::pair<int, int>;

// Lays cable along a path of neighbouring cells: the first and last cells get the
// end kind facing into the path, the cells between the straight or corner joining
// their two neighbours. Devices are left as they are.
void layPath(Board& board, const std::vector<Cell>& path);
// A boustrophedon of the given length from (0, 0): row 0 eastwards, then row 1
// westwards down to column 1, row 2 eastwards from column 1, and so on, so that
// the Server's bottom cell (0, 1) stays free.
std::vector<Cell> snakePath(int length);

// The bottom half goes below the top one, when the storage has room for it.
void placeServer(Board& board, int column, int row, int topTile, int bottomTile);
void placeDevice(Board& board, int column, int row, int device, int tile);

// One frame's board work after the click: floods, FaxModem blink, completion.
struct FrameRunner {
    ConnectorTable connectors = buildConnectorTable();
    VirusWatch watch;
    RecordingEvents events;
    bool run(Board& board);  // true when the completion test fired
};

// A map file: 78 records of 310 bytes.
struct MapFileLevel {
    std::vector<std::pair<Cell, std::pair<int, int>>> cells;  // (column,row) -> (tile, device)
    int sizeClass = 3;
    int reserved = 0;
};
// Unlisted cells hold tile 0 and device 255 (no device).
std::vector<uint8_t> mapFileBytes(const std::vector<MapFileLevel>& levels);
