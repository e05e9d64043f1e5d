// Plays a stored level out with the game's own clicks and floods, the way a player
// beats its viruses: connect everything so every hidden virus shows itself, cut the
// Server off, turn every computer away from its cable, then bring the infected
// computers back one at a time, clean each while it is the only one connected, and
// turn it away again; at last turn every computer back and the level is complete.
//
// This covers any start the mirror and the scramble may give: a player can always
// turn the pieces to the stored orientations first, and a computer that a flood does
// not reach turns on a click instead of being cleaned.

#include <string>
#include <vector>

#include "levels/level_check.h"
#include "levels/level_design.h"
#include "levels/quiet_events.h"
#include "levels/side_masks.h"

namespace {

struct Play {
    Board board;
    Grid stored{};
    ConnectorTable connectors = buildConnectorTable();
    VirusWatch watch;
    QuietEvents events;
    int rankPoints = 0;
    std::vector<std::string> faults;
};

void frame(Play& play) { updateConnections(play.board, play.connectors, play.watch, play.events); }

void click(Play& play, int column, int row)
{
    leftClickCell(play.board, column, row, play.rankPoints, play.events);
}

int sidesAt(const Play& play, int column, int row)
{
    return sidesOfKind(kindOfTile(play.board.tile[column][row]));
}

// The cell's single open side leads nowhere: off the board, into a closed side, or
// into another computer (two computers facing each other hang on nothing).
bool facesNothing(const Play& play, int column, int row)
{
    const int sides = sidesAt(play, column, row);
    for (int side = North; side <= West; ++side) {
        if (!opensSide(sides, side)) continue;
        const int x = column + SideStepX[side], y = row + SideStepY[side];
        if (x < 0 || y < 0 || x >= play.board.columns || y >= play.board.rows) continue;
        const bool bothComputers = play.board.device[column][row] == DeviceComputer &&
                                   play.board.device[x][y] == DeviceComputer;
        if (bothComputers) continue;
        if (opensSide(sidesAt(play, x, y), oppositeSide(side))) return false;
    }
    return true;
}

// Clicks a cell until the test holds; false when no orientation makes it hold.
template <typename Test>
bool turnUntil(Play& play, int column, int row, Test test)
{
    for (int turn = 0; turn < 4; ++turn) {
        if (test()) return true;
        click(play, column, row);
    }
    return test();
}

bool turnToStored(Play& play, int column, int row)
{
    return turnUntil(play, column, row, [&] { return play.board.tile[column][row] == play.stored[column][row]; });
}

bool turnAway(Play& play, int column, int row)
{
    return turnUntil(play, column, row, [&] { return facesNothing(play, column, row); });
}

int reachedCount(const Play& play)
{
    int count = 0;
    for (const Computer& computer : play.board.computers) count += computer.reached | computer.cleanable;
    return count;
}

void cutServerOff(Play& play)
{
    for (int half = 0; half < 2; ++half) {
        const int x = play.board.serverX, y = play.board.serverY + half;
        if (kindOfTile(play.board.tile[x][y]) != NoConnector && !turnAway(play, x, y)) {
            play.faults.push_back("a Server half cannot be turned away from the network");
        }
    }
}

void turnComputersAway(Play& play)
{
    for (const Computer& computer : play.board.computers) {
        if (!turnAway(play, computer.x, computer.y)) {
            play.faults.push_back("a computer cannot be turned away from the network");
        }
    }
}

void cleanAlone(Play& play, size_t index)
{
    const int x = play.board.computers[index].x, y = play.board.computers[index].y;
    turnToStored(play, x, y);
    frame(play);
    if (play.board.computers[index].cleanable != 1 || reachedCount(play) != 1) {
        play.faults.push_back("an infected computer cannot be connected alone");
        return;
    }
    click(play, x, y);
    frame(play);
    if (play.board.computers[index].state != Connected) {
        play.faults.push_back("a cleaned computer did not connect");
    }
    turnAway(play, x, y);
    frame(play);
}

}  // namespace

std::vector<std::string> playVirusesOut(const MapData& mapData, int level)
{
    Play play;
    copyLevel(play.board, mapData, level);
    createDevices(play.board);
    play.stored = play.board.tile;
    frame(play);
    cutServerOff(play);
    frame(play);
    turnComputersAway(play);
    turnToStored(play, play.board.serverX, play.board.serverY);
    turnToStored(play, play.board.serverX, play.board.serverY + 1);
    frame(play);
    if (reachedCount(play) != 0) play.faults.push_back("computers stay connected after turning them away");
    for (size_t i = 0; i < play.board.computers.size() && play.faults.empty(); ++i) {
        if (play.board.computers[i].hasVirus == 1) play.faults.push_back("a hidden virus never showed itself");
        if (play.board.computers[i].state == Infected) cleanAlone(play, i);
    }
    for (const Computer& computer : play.board.computers) turnToStored(play, computer.x, computer.y);
    frame(play);
    if (play.faults.empty() && !testCompletion(play.board)) play.faults.push_back("the level did not complete");
    return play.faults;
}
