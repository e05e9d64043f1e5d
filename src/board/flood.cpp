// The per-frame connection flood: two passes out of the Server halves, wave by wave,
// with the FaxModem relay, the virus reveal and the infection at the end of a pass.

#include "board/board.h"

#include <algorithm>

namespace {

constexpr int WaveCount = 50;
constexpr int CellCount = BoardColumns * BoardRows;

struct Neighbour {
    int dx, dy;
};
constexpr std::array<Neighbour, 4> Neighbours = {{{0, -1}, {1, 0}, {0, 1}, {-1, 0}}};  // N, E, S, W

// The cells waiting for the next wave, as column-major indexes. Every cell is marked
// at most once per pass, so one wave's list never exceeds the storage.
struct Frontier {
    std::array<int, CellCount> cells{};
    int count = 0;
};

// One pass in progress.
struct Pass {
    Board& board;
    const ConnectorTable& connectors;
    VirusWatch& watch;
    BoardEvents& events;
    std::array<Frontier, 2> frontiers{};  // the wave being expanded and the next one take turns
    int next = 0;                         // which of the two the marks go into
    bool revealed = false;
};

void mark(Pass& pass, int column, int row, int wave)
{
    pass.board.DepthGrid[column][row] = wave;
    Frontier& next = pass.frontiers[pass.next];
    next.cells[next.count++] = column * BoardRows + row;
}

// Every FaxModem lights up, and every other FaxModem cell starts one wave later.
void relayFaxModems(Pass& pass, int wave)
{
    Board& board = pass.board;
    for (FaxModem& faxModem : board.faxModems) {
        faxModem.active = true;
    }
    for (int column = 0; column < board.columns; ++column) {
        for (int row = 0; row < board.rows; ++row) {
            if (board.device[column][row] == DeviceFaxModem && board.DepthGrid[column][row] == 0) {
                mark(pass, column, row, wave + 1);
            }
        }
    }
}

void revealVirus(Pass& pass, Computer& computer)
{
    computer.hasVirus = false;
    pass.revealed = true;
    pass.events.sound(BoardSound::Virus);
    if (!pass.watch.virusRevealed) {
        pass.watch.virusRevealed = true;
        pass.watch.virusHintClock = 0;
    }
}

void connectComputer(Pass& pass, Computer& computer)
{
    if (computer.hasVirus) {
        revealVirus(pass, computer);
    }
    computer.state = Connected;
    computer.reached = true;
    if (!computer.wasConnected) {
        startAnimation(computer, 0, 80);  // the start-up screens
    }
}

void reachComputer(Pass& pass, int column, int row)
{
    Computer* computer = computerAt(pass.board, column, row);
    if (computer == nullptr) {
        return;
    }
    if (computer->state != Infected) {
        connectComputer(pass, *computer);
    } else {
        // A connected infected computer can be cleaned, and infects the network.
        pass.revealed = true;
        computer->cleanable = true;
    }
}

void spreadToNeighbours(Pass& pass, int column, int row, int kind, int wave)
{
    Board& board = pass.board;
    const std::array<int, 4>& open = pass.connectors.open[kind];
    for (int side = North; side <= West; ++side) {
        const int nx = column + Neighbours[side].dx;
        const int ny = row + Neighbours[side].dy;
        // The cheap tests first; together they decide the same as in any order.
        if (open[side] != 1 || nx < 0 || ny < 0 || nx >= board.columns || ny >= board.rows ||
            board.DepthGrid[nx][ny] != 0) {
            continue;
        }
        const int neighbourKind = kindOfTile(board.tile[nx][ny]);
        if (pass.connectors.open[neighbourKind][(side + 2) % 4] == 1) {
            mark(pass, nx, ny, wave + 1);
        }
    }
}

void expandCell(Pass& pass, int column, int row, int wave)
{
    const Board& board = pass.board;
    const int kind = kindOfTile(board.tile[column][row]);
    if (board.device[column][row] == DeviceFaxModem) {
        relayFaxModems(pass, wave);
    }
    if (board.device[column][row] == DeviceComputer) {
        reachComputer(pass, column, row);
    }
    spreadToNeighbours(pass, column, row, kind, wave);
}

// A revealed virus (or a connected infected computer) infects everything reached this frame.
void infectReached(Pass& pass)
{
    Board& board = pass.board;
    for (Computer& computer : board.computers) {
        if (!computer.reached) {
            continue;
        }
        computer.state = Infected;
        computer.reached = false;
        startAnimation(computer, 0, 0);
        const int x = cellCentreX(board, computer.x);
        const int y = cellCentreY(board, computer.y);
        pass.events.sparkle(x, y, 0.5f, 0.5f);
        pass.events.sparkle(x, y, 0.9f, 0.2f);
    }
}

// A clean pass: every cell it marked carries the connection.
void noteCarried(Board& board)
{
    for (int column = 0; column < board.columns && column < BoardColumns; ++column) {
        for (int row = 0; row < board.rows && row < BoardRows; ++row) {
            board.carried[column][row] = board.carried[column][row] || board.DepthGrid[column][row] != 0;
        }
    }
}

void clearDepth(Board& board)
{
    for (int column = 0; column < board.columns && column < BoardColumns; ++column) {
        for (int row = 0; row < board.rows && row < BoardRows; ++row) {
            board.DepthGrid[column][row] = 0;
        }
    }
}

// Runs the waves. Wave q expands exactly the cells marked q, in column-major order
// (the order of a full scan of the active area); a wave with nothing to expand ends
// the pass early, since no later wave could find anything either.
void runWaves(Pass& pass)
{
    for (int wave = 1; wave <= WaveCount && pass.frontiers[pass.next].count > 0; ++wave) {
        Frontier& current = pass.frontiers[pass.next];
        pass.next = 1 - pass.next;
        pass.frontiers[pass.next].count = 0;
        std::sort(current.cells.begin(), current.cells.begin() + current.count);
        for (int i = 0; i < current.count; ++i) {
            expandCell(pass, current.cells[i] / BoardRows, current.cells[i] % BoardRows, wave);
        }
    }
}

}  // namespace

void resetReach(Board& board)
{
    board.carried = CellFlags{};
    for (Computer& computer : board.computers) {
        computer.reached = false;
        computer.cleanable = false;
    }
    for (FaxModem& faxModem : board.faxModems) {
        faxModem.active = false;
    }
}

void floodFromServer(Board& board, const ConnectorTable& connectors, int sx, int sy, VirusWatch& watch,
                     BoardEvents& events)
{
    Pass pass{board, connectors, watch, events};
    clearDepth(board);
    // Only cells of the active area are ever expanded: a seed outside it (a Server
    // in the last row has its bottom seed below the board) reaches nothing.
    if (insideActiveArea(board, sx, sy)) {
        mark(pass, sx, sy, 1);
    }
    runWaves(pass);
    if (pass.revealed) {
        infectReached(pass);
    } else {
        noteCarried(board);
    }
}

void settleComputers(Board& board)
{
    for (Computer& computer : board.computers) {
        if (computer.reached && computer.state == Connected) {
            computer.wasConnected = true;
        }
        if (!computer.reached && computer.state != Infected) {
            computer.state = NotConnected;
            if (computer.wasConnected) {
                computer.wasConnected = false;
                startAnimation(computer, 0, 0);
            }
        }
    }
}

void updateConnections(Board& board, const ConnectorTable& connectors, VirusWatch& watch, BoardEvents& events)
{
    resetReach(board);
    floodFromServer(board, connectors, board.serverX, board.serverY, watch, events);
    floodFromServer(board, connectors, board.serverX, board.serverY + 1, watch, events);
    settleComputers(board);
}
