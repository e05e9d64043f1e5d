// Plays a board out with the game's own clicks and floods, the way a player beats
// the viruses: cut the Server off, turn every piece to the solution, turn every
// computer away from its cable, then bring the computers back one at a time. A
// hidden virus shows itself on a computer that is connected alone and is cleaned at
// once; a cleaned or clean computer is turned away again before the next comes
// back. At last every computer turns back and the level is complete.
//
// While nothing is connected no computer is cleanable, so every click turns a piece:
// this works from any start the mirror and the scramble may give.

#include <string>
#include <vector>

#include "levels/level_check.h"
#include "levels/level_design.h"
#include "levels/quiet_events.h"
#include "levels/side_masks.h"

namespace {

struct Play {
    Play(Board& board, const Grid& solved) : board(board), solved(solved) {}
    Board& board;
    const Grid& solved;
    ConnectorTable connectors = buildConnectorTable();
    VirusWatch watch;
    QuietEvents events;
    int rankPoints = 0;
    std::vector<std::string> faults;
};

void frame(Play& play)
{
    updateConnections(play.board, play.connectors, play.watch, play.events);
}

void click(Play& play, int column, int row)
{
    leftClickCell(play.board, column, row, play.rankPoints, play.events);
}

int sidesAt(const Play& play, int column, int row)
{
    return sidesOfKind(kindOfTile(play.board.tile[column][row]));
}

// The cell's open sides lead nowhere: off the board or into closed sides. Two
// computers facing each other hang on nothing, so a computer may face a computer.
bool facesNothing(const Play& play, int column, int row)
{
    const int sides = sidesAt(play, column, row);
    for (int side = North; side <= West; ++side) {
        if (!opensSide(sides, side))
            continue;
        const int x = column + SideStepX[side], y = row + SideStepY[side];
        if (x < 0 || y < 0 || x >= play.board.columns || y >= play.board.rows)
            continue;
        const bool bothComputers =
            play.board.device[column][row] == DeviceComputer && play.board.device[x][y] == DeviceComputer;
        if (!bothComputers && opensSide(sidesAt(play, x, y), oppositeSide(side)))
            return false;
    }
    return true;
}

// Clicks a cell until the test holds; false when no orientation makes it hold.
template <typename Test>
bool turnUntil(Play& play, int column, int row, Test test)
{
    for (int turn = 0; turn < 4; ++turn) {
        if (test())
            return true;
        click(play, column, row);
    }
    return test();
}

bool turnToSolved(Play& play, int column, int row)
{
    return turnUntil(play, column, row, [&] { return play.board.tile[column][row] == play.solved[column][row]; });
}

bool turnAway(Play& play, int column, int row)
{
    return turnUntil(play, column, row, [&] { return facesNothing(play, column, row); });
}

int connectedCount(const Play& play)
{
    int count = 0;
    for (const Computer& computer : play.board.computers)
        count += computer.reached | computer.cleanable;
    return count;
}

bool isServerCell(const Play& play, int column, int row)
{
    return column == play.board.serverX && (row == play.board.serverY || row == play.board.serverY + 1);
}

// A Server half faces off the board, or a neighbour closed towards it now and in the
// solution, so turning the pieces to the solution connects nothing to it.
bool serverFacesNothing(const Play& play, int row)
{
    const int column = play.board.serverX;
    for (int side = North; side <= West; ++side) {
        if (!opensSide(sidesAt(play, column, row), side))
            continue;
        const int x = column + SideStepX[side], y = row + SideStepY[side];
        if (x < 0 || y < 0 || x >= play.board.columns || y >= play.board.rows)
            continue;
        const int solvedSides = sidesOfKind(kindOfTile(play.solved[x][y]));
        if (opensSide(sidesAt(play, x, y), oppositeSide(side)) || opensSide(solvedSides, oppositeSide(side))) {
            return false;
        }
    }
    return true;
}

// Turns the cable a Server half faces; computers are left alone, a click might clean them.
void closeFacedCable(Play& play, int row)
{
    const int column = play.board.serverX;
    for (int side = North; side <= West; ++side) {
        const int x = column + SideStepX[side], y = row + SideStepY[side];
        const bool inside = x >= 0 && y >= 0 && x < play.board.columns && y < play.board.rows;
        if (opensSide(sidesAt(play, column, row), side) && inside && play.board.device[x][y] != DeviceComputer) {
            turnUntil(play, x, y, [&] { return serverFacesNothing(play, row); });
        }
    }
}

void cutServerOff(Play& play)
{
    for (int row = play.board.serverY; row <= play.board.serverY + 1; ++row) {
        for (int turn = 0; turn < 3 && !serverFacesNothing(play, row); ++turn) {
            click(play, play.board.serverX, row);
        }
        for (int turn = 0; turn < 3 && !serverFacesNothing(play, row); ++turn) {
            closeFacedCable(play, row);
            if (!serverFacesNothing(play, row))
                click(play, play.board.serverX, row);
        }
        if (!serverFacesNothing(play, row))
            play.faults.push_back("a Server half cannot be cut off");
    }
    frame(play);
    if (connectedCount(play) != 0)
        play.faults.push_back("computers stay connected with the Server cut off");
}

void turnPiecesToSolved(Play& play)
{
    for (int column = 0; column < play.board.columns; ++column) {
        for (int row = 0; row < play.board.rows; ++row) {
            if (!isServerCell(play, column, row) && !turnToSolved(play, column, row)) {
                play.faults.push_back("a piece cannot take its solved orientation");
            }
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
    turnToSolved(play, play.board.serverX, play.board.serverY);
    turnToSolved(play, play.board.serverX, play.board.serverY + 1);
    frame(play);
    if (connectedCount(play) != 0)
        play.faults.push_back("computers stay connected after turning them away");
}

// A hidden virus shows itself in the first frame, the computer is cleanable in the next.
void connectAlone(Play& play, size_t index)
{
    const int x = play.board.computers[index].x, y = play.board.computers[index].y;
    turnToSolved(play, x, y);
    frame(play);
    frame(play);
    if (connectedCount(play) != 1) {
        play.faults.push_back("a computer cannot be connected alone");
        return;
    }
    if (play.board.computers[index].state == Infected) {
        click(play, x, y);
        frame(play);
    }
    if (play.board.computers[index].state != Connected)
        play.faults.push_back("a computer alone did not connect");
    turnAway(play, x, y);
    frame(play);
}

}  // namespace

std::vector<std::string> playLevelOut(Board& board, const Grid& solvedTiles)
{
    Play play(board, solvedTiles);
    frame(play);
    cutServerOff(play);
    turnPiecesToSolved(play);
    turnComputersAway(play);
    for (size_t i = 0; i < board.computers.size() && play.faults.empty(); ++i) {
        connectAlone(play, i);
    }
    for (const Computer& computer : board.computers)
        turnToSolved(play, computer.x, computer.y);
    frame(play);
    if (play.faults.empty() && !testCompletion(board))
        play.faults.push_back("the level did not complete");
    return play.faults;
}

std::vector<std::string> playStoredLevelOut(const MapData& mapData, int level)
{
    Board board;
    copyLevel(board, mapData, level);
    createDevices(board);
    const Grid solved = board.tile;
    return playLevelOut(board, solved);
}
