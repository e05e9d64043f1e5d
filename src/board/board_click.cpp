// What one left click on a cell of the board does: clean a computer or turn a piece.

#include "board/board.h"

void cleanComputer(Board& board, Computer& computer, int& rankPoints, BoardEvents& events)
{
    // Only the state changes; the floods of the next frame decide whether the
    // cleaned computer stays clean.
    computer.state = NotConnected;
    events.sparkle(cellCentreX(board, computer.x), cellCentreY(board, computer.y), 1.0f, 0.5f);
    events.sound(BoardSound::StarUse);
    rankPoints += 5;
}

void leftClickCell(Board& board, int column, int row, int& rankPoints, BoardEvents& events)
{
    if (!insideActiveArea(board, column, row)) {
        return;
    }
    if (Computer* computer = cleanableComputerAt(board, column, row)) {
        cleanComputer(board, *computer, rankPoints, events);
        return;
    }
    // The ghost and the click come for every cell, also one whose tile cannot turn.
    events.rotationGhost(cellCentreX(board, column), cellCentreY(board, row), board.tile[column][row]);
    rotateCell(board, column, row);
    events.sound(BoardSound::Click);
}

void turnCellBack(Board& board, int column, int row, BoardEvents& events)
{
    if (!insideActiveArea(board, column, row) || cleanableComputerAt(board, column, row) != nullptr) {
        return;
    }
    events.rotationGhostBack(cellCentreX(board, column), cellCentreY(board, row), board.tile[column][row]);
    rotateCellBack(board, column, row);
    events.sound(BoardSound::Click);
}
