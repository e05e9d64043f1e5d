// The rules that follow the floods each frame: the FaxModem blink, the completion
// latch, and whether the pointer rests on a computer a click would clean.

#include "board/board.h"

namespace {

constexpr int BlinkCycle = 40;

void stepBlink(const Board& board, FaxModem& faxModem, BoardEvents& events)
{
    faxModem.blinkTicks += 1;
    switch (faxModem.blinkTicks) {
    case 10:
    case 30:
        faxModem.blinkFrame = 1;
        break;
    case 20:
        faxModem.blinkFrame = 0;
        break;
    case BlinkCycle:
        // The end of each cycle sends a pulse.
        faxModem.blinkFrame = 0;
        faxModem.blinkTicks = 0;
        events.sparkle(cellCentreX(board, faxModem.x), cellCentreY(board, faxModem.y), 0.5f, 0.5f);
        break;
    default:
        break;
    }
}

}  // namespace

void stepFaxModems(Board& board, BoardEvents& events)
{
    // An inactive FaxModem pauses: its counter and picture wait until it is active again.
    for (FaxModem& faxModem : board.faxModems) {
        if (faxModem.active) {
            stepBlink(board, faxModem, events);
        }
    }
}

bool testCompletion(Board& board)
{
    int reached = 0;
    for (const Computer& computer : board.computers) {
        reached += computer.reached ? 1 : 0;
    }
    if (reached != board.computerCount) {
        return false;
    }
    // Raising the threshold latches the completion until the next level is built.
    board.computerCount += 1;
    return true;
}

bool pointerOverCleanable(Board& board, CellPosition cell)
{
    return insideActiveArea(board, cell.column, cell.row) && board.device[cell.column][cell.row] == DeviceComputer &&
           cleanableComputerAt(board, cell.column, cell.row) != nullptr;
}
