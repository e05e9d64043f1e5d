#include "play/board_tools.h"

#include "persist/settings.h"

namespace {

// Far more turns than any board takes; a player who goes on clicking forgets the oldest.
constexpr size_t MostTurnsKept = 10000;

bool isLocked(const BoardTools& tools, CellPosition cell) {
    return cell.valid() && tools.locked[static_cast<size_t>(cell.column)][static_cast<size_t>(cell.row)];
}

void noteTurn(BoardTools& tools, CellPosition cell, bool back) {
    if (tools.turns.size() >= MostTurnsKept) tools.turns.erase(tools.turns.begin());
    tools.turns.push_back({cell.column, cell.row, back});
}

bool isServer(const Board& board, CellPosition cell) {
    const int device = board.device[static_cast<size_t>(cell.column)][static_cast<size_t>(cell.row)];
    return device == DeviceServerTop || device == DeviceServerBottom;
}

}  // namespace

int boardToolButtonAt(int x, int y) {
    for (const auto& [button, centreX] : {std::pair{UndoButton, UndoButtonX}, {RestartButton, RestartButtonX}}) {
        const int left = centreX - ToolButtonSize / 2, top = ToolButtonY - ToolButtonSize / 2;
        if (x >= left && x < left + ToolButtonSize && y >= top && y < top + ToolButtonSize) return button;
    }
    return -1;
}

void startBoardTools(BoardTools& tools, const Board& board) {
    tools.locked = CellFlags{};
    tools.turns.clear();
    tools.scrambled = board.tile;
}

bool leftClickWithTools(Board& board, BoardTools& tools, CellPosition cell, int& rankPoints, BoardEvents& events) {
    if (!insideActiveArea(board, cell.column, cell.row)) return false;
    const bool cleans = cleanableComputerAt(board, cell.column, cell.row) != nullptr;
    if (isLocked(tools, cell) && !cleans) return false;
    leftClickCell(board, cell.column, cell.row, rankPoints, events);
    if (!cleans) noteTurn(tools, cell, false);
    return cleans;
}

bool usesLocks(const Settings& settings) {
    return settings.rightButton == RightButtonUse::Lock || settings.middleButton == MiddleButtonUse::Lock;
}

void rightPressCell(Board& board, BoardTools& tools, const Settings& settings, CellPosition cell, BoardEvents& events) {
    if (!insideActiveArea(board, cell.column, cell.row)) return;
    if (settings.rightButton == RightButtonUse::Lock) return toggleLock(board, tools, cell);
    if (settings.rightButton != RightButtonUse::TurnBack || isLocked(tools, cell)) return;
    if (cleanableComputerAt(board, cell.column, cell.row) != nullptr) return;  // a right click never cleans
    turnCellBack(board, cell.column, cell.row, events);
    noteTurn(tools, cell, true);
}

void middlePressCell(Board& board, BoardTools& tools, const Settings& settings, CellPosition cell) {
    if (settings.middleButton == MiddleButtonUse::Lock && insideActiveArea(board, cell.column, cell.row))
        toggleLock(board, tools, cell);
}

void toggleLock(const Board& board, BoardTools& tools, CellPosition cell) {
    if (!insideActiveArea(board, cell.column, cell.row)) return;
    if (isServer(board, cell)) {
        tools.locked = CellFlags{};
        return;
    }
    bool& locked = tools.locked[static_cast<size_t>(cell.column)][static_cast<size_t>(cell.row)];
    locked = !locked;
}

bool undoTurn(Board& board, BoardTools& tools, BoardEvents& events) {
    if (tools.turns.empty()) return false;
    const BoardTurn turn = tools.turns.back();
    tools.turns.pop_back();
    const int x = cellCentreX(board, turn.column), y = cellCentreY(board, turn.row);
    const int tile = board.tile[static_cast<size_t>(turn.column)][static_cast<size_t>(turn.row)];
    if (turn.back) {
        events.rotationGhost(x, y, tile);
        rotateCell(board, turn.column, turn.row);
    } else {
        events.rotationGhostBack(x, y, tile);
        rotateCellBack(board, turn.column, turn.row);
    }
    tools.locked[static_cast<size_t>(turn.column)][static_cast<size_t>(turn.row)] = false;
    events.sound(BoardSound::Click);
    return true;
}

void restartBoard(Board& board, BoardTools& tools, BoardEvents& events) {
    for (int column = 0; column < board.columns; ++column)
        for (int row = 0; row < board.rows; ++row) {
            int& tile = board.tile[static_cast<size_t>(column)][static_cast<size_t>(row)];
            const int scrambled = tools.scrambled[static_cast<size_t>(column)][static_cast<size_t>(row)];
            if (tile == scrambled) continue;
            events.rotationGhost(cellCentreX(board, column), cellCentreY(board, row), tile);
            tile = scrambled;
        }
    tools.locked = CellFlags{};
    tools.turns.clear();
    events.sound(BoardSound::Click);
}

void boardToolClick(Board& board, BoardTools& tools, int control, BoardEvents& events) {
    if (control == UndoButton) undoTurn(board, tools, events);
    if (control == RestartButton) restartBoard(board, tools, events);
}
