// The grid itself: where cells are on screen, which computer stands where, and
// the quarter turn of a single cell.

#include "board/board.h"

// ---- Where cells are ----------------------------------------------------------

bool insideStorage(int column, int row)
{
    return column >= 0 && column < BoardColumns && row >= 0 && row < BoardRows;
}

bool insideActiveArea(const Board& board, int column, int row)
{
    return insideStorage(column, row) && column < board.columns && row < board.rows;
}

CellPosition cellUnderPointer(const Board& board, int px, int py)
{
    // Compare before dividing: a pointer a few pixels left of or above the board
    // would otherwise truncate into column or row 0.
    if (px < board.originX || py < board.originY) {
        return {};
    }
    const int column = (px - board.originX) / CellSize;
    const int row = (py - board.originY) / CellSize;
    if (!insideActiveArea(board, column, row)) {
        return {};
    }
    return {column, row};
}

int cellCentreX(const Board& board, int column)
{
    return board.originX + CellSize * column + CellSize / 2;
}

int cellCentreY(const Board& board, int row)
{
    return board.originY + CellSize * row + CellSize / 2;
}

const Computer* computerAt(const Board& board, int column, int row)
{
    for (const Computer& computer : board.computers) {
        if (computer.x == column && computer.y == row) {
            return &computer;
        }
    }
    return nullptr;
}

Computer* computerAt(Board& board, int column, int row)
{
    return const_cast<Computer*>(computerAt(static_cast<const Board&>(board), column, row));
}

Computer* cleanableComputerAt(Board& board, int column, int row)
{
    Computer* computer = computerAt(board, column, row);
    return computer && computer->state == Infected && computer->cleanable ? computer : nullptr;
}

void startAnimation(Computer& computer, int row, int ticks)
{
    computer.animId = row;
    computer.animTicksLeft = ticks;
    computer.animFrame = 0;
    computer.animPos = 0.0f;
}

// ---- Turning --------------------------------------------------------------------

int serverRestrictedKind(int device, int kind)
{
    // The two Server halves must never face each other: the top half never points
    // south and the bottom half never points north.
    if (device == DeviceServerTop && kind == EndS) {
        return EndW;
    }
    if (device == DeviceServerBottom && kind == EndN) {
        return EndE;
    }
    return kind;
}

// The kind a quarter turn clockwise makes of kind; the Cross and pictures stay put.
static int turnedKind(int kind)
{
    struct Group {
        int first, last;
    };
    static constexpr Group groups[] = {{StraightNS, StraightEW}, {CornerNW, CornerSW}, {TeeNEW, TeeNSW}, {EndW, EndS}};
    for (const Group& group : groups) {
        if (kind >= group.first && kind <= group.last) {
            return kind == group.last ? group.first : kind + 1;
        }
    }
    return kind;
}

void rotateCell(Board& board, int column, int row)
{
    if (!insideStorage(column, row)) {
        return;
    }
    int& tile = board.tile[column][row];
    const int kind = turnedKind(tile - CableTileBase);
    tile = serverRestrictedKind(board.device[column][row], kind) + CableTileBase;
}

void rotateCellBack(Board& board, int column, int row)
{
    if (!insideStorage(column, row)) {
        return;
    }
    // Turns go round a cycle of at most four tiles: the one before the start is the last
    // one met before the turns come back to it.
    const int start = board.tile[column][row];
    int previous = start;
    for (int turn = 0; turn < 4; ++turn) {
        rotateCell(board, column, row);
        if (board.tile[column][row] == start) {
            break;
        }
        previous = board.tile[column][row];
    }
    board.tile[column][row] = previous;
}
