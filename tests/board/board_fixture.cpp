#include "board/board_fixture.h"

#include <sstream>
#include <stdexcept>

void RecordingEvents::rotationGhost(int x, int y, int tile)
{
    log.push_back("ghost " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(tile));
}

void RecordingEvents::rotationGhostBack(int x, int y, int tile)
{
    log.push_back("ghost back " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(tile));
}

void RecordingEvents::sparkle(int x, int y, float alpha, float scale)
{
    std::ostringstream text;
    text << "sparkle " << x << " " << y << " " << alpha << " " << scale;
    log.push_back(text.str());
}

void RecordingEvents::sound(BoardSound sound)
{
    static const char* names[] = {"Click", "Virus", "StarUse"};
    log.push_back(std::string("sound ") + names[static_cast<int>(sound)]);
}

int RecordingEvents::count(const std::string& prefix) const
{
    int n = 0;
    for (const std::string& entry : log) {
        n += entry.rfind(prefix, 0) == 0 ? 1 : 0;
    }
    return n;
}

Board emptyBoard(int sizeClass)
{
    static const int sizes[4][2] = {{4, 5}, {6, 7}, {10, 9}, {14, 11}};
    Board board;
    board.columns = sizes[sizeClass][0];
    board.rows = sizes[sizeClass][1];
    board.originX = (800 - CellSize * board.columns) / 2;
    board.originY = (600 - CellSize * board.rows) / 2;
    board.sizeClass = sizeClass;
    for (auto& column : board.device)
        column.fill(NoDevice);
    return board;
}

// Side of a that faces its neighbour b.
static int sideTowards(Cell a, Cell b)
{
    if (b.second < a.second)
        return North;
    if (b.first > a.first)
        return East;
    if (b.second > a.second)
        return South;
    return West;
}

// The cable kind whose open sides are exactly the given ones.
static int kindWithSides(std::array<int, 4> sides)
{
    const ConnectorTable table = buildConnectorTable();
    for (int kind = 0; kind < NoConnector; ++kind) {
        if (table.open[kind] == sides)
            return kind;
    }
    throw std::logic_error("no such kind");
}

void layPath(Board& board, const std::vector<Cell>& path)
{
    for (size_t i = 0; i < path.size(); ++i) {
        std::array<int, 4> sides{};
        if (i > 0)
            sides[sideTowards(path[i], path[i - 1])] = 1;
        if (i + 1 < path.size())
            sides[sideTowards(path[i], path[i + 1])] = 1;
        board.tile[path[i].first][path[i].second] = kindWithSides(sides) + CableTileBase;
    }
}

std::vector<Cell> snakePath(int length)
{
    std::vector<Cell> path;
    for (int row = 0; static_cast<int>(path.size()) < length; ++row) {
        const bool east = row % 2 == 0;
        for (int i = 0; i < BoardColumns && static_cast<int>(path.size()) < length; ++i) {
            const int column = east ? i : BoardColumns - 1 - i;
            if (row > 0 && column == 0)
                continue;
            path.push_back({column, row});
        }
    }
    return path;
}

void placeServer(Board& board, int column, int row, int topTile, int bottomTile)
{
    placeDevice(board, column, row, DeviceServerTop, topTile);
    if (row + 1 < BoardRows) {  // a Server in the last row has no room for its bottom half
        placeDevice(board, column, row + 1, DeviceServerBottom, bottomTile);
    }
}

void placeDevice(Board& board, int column, int row, int device, int tile)
{
    board.device[column][row] = device;
    board.tile[column][row] = tile;
}

bool FrameRunner::run(Board& board)
{
    updateConnections(board, connectors, watch, events);
    stepFaxModems(board, events);
    return testCompletion(board);
}

std::vector<uint8_t> mapFileBytes(const std::vector<MapFileLevel>& levels)
{
    std::vector<uint8_t> bytes(LevelCount * 310, 0);
    for (int level = 0; level < LevelCount; ++level) {
        MapFileLevel record = level < static_cast<int>(levels.size()) ? levels[level] : MapFileLevel{};
        uint8_t* base = bytes.data() + 310 * level;
        for (int c = 0; c < BoardColumns; ++c) {
            for (int r = 0; r < BoardRows; ++r)
                base[22 * c + 2 * r + 1] = 255;
        }
        for (const auto& [cell, value] : record.cells) {
            base[22 * cell.first + 2 * cell.second] = static_cast<uint8_t>(value.first);
            base[22 * cell.first + 2 * cell.second + 1] = static_cast<uint8_t>(value.second);
        }
        base[308] = static_cast<uint8_t>(record.sizeClass);
        base[309] = static_cast<uint8_t>(record.reserved);
    }
    return bytes;
}
