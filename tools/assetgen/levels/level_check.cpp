// Checks of a stored level: the invariants of valid map data, the stored board
// solved by the game's own floods, and the no-stray-device rule over the whole storage.

#include "levels/level_check.h"

#include <algorithm>

#include "levels/level_design.h"
#include "levels/quiet_events.h"
#include "levels/side_masks.h"

namespace {

std::string at(int column, int row)
{
    return "(" + std::to_string(column) + ", " + std::to_string(row) + ")";
}

bool isEndTile(int tile)
{
    return tile >= CableTileBase + EndW && tile <= CableTileBase + EndS;
}

void checkServer(const LevelView& stored, std::vector<std::string>& faults)
{
    int servers = 0;
    for (int column = 0; column < BoardColumns; ++column) {
        for (int row = 0; row < BoardRows; ++row) {
            if (stored.device(column, row) != DeviceServerTop)
                continue;
            servers += 1;
            if (!stored.inside(column, row + 1) || stored.device(column, row + 1) != DeviceServerBottom) {
                faults.push_back("Server top at " + at(column, row) + " has no bottom half inside the board");
                continue;
            }
            const int top = stored.tile(column, row), bottom = stored.tile(column, row + 1);
            const bool topOk = top == CableTileBase + EndW || top == CableTileBase + EndN ||
                               top == CableTileBase + EndE || top >= ServerTopTile;
            const bool bottomOk = bottom == CableTileBase + EndW || bottom == CableTileBase + EndE ||
                                  bottom == CableTileBase + EndS || bottom >= ServerTopTile;
            const bool outputs = isEndTile(top) || isEndTile(bottom);
            if (!topOk || !bottomOk || !outputs)
                faults.push_back("Server outputs broken at " + at(column, row));
        }
    }
    if (servers != 1)
        faults.push_back(std::to_string(servers) + " Servers instead of one");
}

void checkDeviceCodes(const LevelView& stored, std::vector<std::string>& faults)
{
    int faxModems = 0;
    for (int column = 0; column < BoardColumns; ++column) {
        for (int row = 0; row < BoardRows; ++row) {
            const int device = stored.device(column, row);
            if (!isDeviceCode(device))
                continue;
            if (!stored.inside(column, row))
                faults.push_back("device outside the board at " + at(column, row));
            if (device == DeviceServerBottom && (row == 0 || stored.device(column, row - 1) != DeviceServerTop)) {
                faults.push_back("lone Server bottom at " + at(column, row));
            }
            faxModems += device == DeviceFaxModem ? 1 : 0;
        }
    }
    if (faxModems == 1)
        faults.push_back("a FaxModem without a partner");
}

// Every open side meets an open side; computers and FaxModems are ends; cells
// without cable show a floor picture.
void checkPieces(const LevelView& stored, std::vector<std::string>& faults)
{
    for (int column = 0; column < stored.columns; ++column) {
        for (int row = 0; row < stored.rows; ++row) {
            const int tile = stored.tile(column, row);
            const int device = stored.device(column, row);
            if (tile < CableTileBase)
                faults.push_back("tile below the cable range at " + at(column, row));
            const bool server = device == DeviceServerTop || device == DeviceServerBottom;
            if (tile > LastCableTile && !server && (tile < FirstFloorTile || tile >= FirstFloorTile + FloorTileCount)) {
                faults.push_back("cell without cable shows no floor at " + at(column, row));
            }
            if ((isComputerCode(device) || device == DeviceFaxModem) && !isEndTile(tile)) {
                faults.push_back("device without an end piece at " + at(column, row));
            }
            const int sides = sidesOfKind(kindOfTile(tile));
            for (int side = North; side <= West; ++side) {
                if (!opensSide(sides, side))
                    continue;
                const int x = column + SideStepX[side], y = row + SideStepY[side];
                const bool met =
                    stored.inside(x, y) && opensSide(sidesOfKind(kindOfTile(stored.tile(x, y))), oppositeSide(side));
                if (!met)
                    faults.push_back("loose cable end at " + at(column, row));
            }
        }
    }
}

Board boardOfStoredLevel(const MapData& mapData, int level)
{
    Board board;
    copyLevel(board, mapData, level);
    createDevices(board);
    return board;
}

// Wave of every computer over both passes, the earlier one counting.
std::vector<int> computerWaves(Board& board)
{
    const ConnectorTable connectors = buildConnectorTable();
    VirusWatch watch;
    QuietEvents events;
    std::vector<int> waves(board.computers.size(), 0);
    resetReach(board);
    for (int half = 0; half < 2; ++half) {
        floodFromServer(board, connectors, board.serverX, board.serverY + half, watch, events);
        for (size_t i = 0; i < board.computers.size(); ++i) {
            const int wave = board.DepthGrid[board.computers[i].x][board.computers[i].y];
            if (wave >= 1 && wave <= FloodWaveLimit && (waves[i] == 0 || wave < waves[i]))
                waves[i] = wave;
        }
    }
    return waves;
}

void checkSolved(const MapData& mapData, int level, std::vector<std::string>& faults)
{
    Board board = boardOfStoredLevel(mapData, level);
    for (Computer& computer : board.computers)
        computer.hasVirus = 0;
    const ConnectorTable connectors = buildConnectorTable();
    VirusWatch watch;
    QuietEvents events;
    updateConnections(board, connectors, watch, events);
    if (!testCompletion(board))
        faults.push_back("the stored board is not solved");
    const int longest = storedLongestWave(mapData, level);
    if (longest == 0 || longest > MaxStoredWave) {
        faults.push_back("longest path of " + std::to_string(longest) + " waves");
    }
}

}  // namespace

int storedLongestWave(const MapData& mapData, int level)
{
    Board board = boardOfStoredLevel(mapData, level);
    for (Computer& computer : board.computers)
        computer.hasVirus = 0;
    const std::vector<int> waves = computerWaves(board);
    if (std::find(waves.begin(), waves.end(), 0) != waves.end())
        return 0;
    return waves.empty() ? 0 : *std::max_element(waves.begin(), waves.end());
}

std::vector<std::string> checkStoredLevel(const MapData& mapData, int level)
{
    std::vector<std::string> faults;
    const int sizeClass = mapData.sizeClass[level];
    if (sizeClass < 0 || sizeClass > 3) {
        faults.push_back("unknown SizeClass " + std::to_string(sizeClass));
        return faults;
    }
    const LevelView stored{mapData, level, SizeClassColumns[sizeClass], SizeClassRows[sizeClass]};
    checkServer(stored, faults);
    checkDeviceCodes(stored, faults);
    checkPieces(stored, faults);
    if (faults.empty())
        checkSolved(mapData, level, faults);
    if (faults.empty()) {
        const std::vector<std::string> play = playStoredLevelOut(mapData, level);
        faults.insert(faults.end(), play.begin(), play.end());
    }
    return faults;
}
