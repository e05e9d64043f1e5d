#pragma once
// What a player may do to the board besides the left click, each an option of the settings:
// turn a piece back, lock a piece, undo the last turn, restart the board. Locks and the
// history belong to the board in play; they take no part in the rules, are cleared at every
// level start and are never saved.

#include <vector>

#include "board/board.h"

struct Settings;

// One turn made on this board, for undo.
struct BoardTurn {
    int column = 0, row = 0;
    bool back = false;  // turned counter-clockwise
};

struct BoardTools {
    CellFlags locked{};            // pieces the player has locked: every turn passes them by
    std::vector<BoardTurn> turns;  // oldest first
    Grid scrambled{};              // the tiles as the level's scramble left them
};

// The undo and restart buttons, beside the music buttons, drawn only with the option on.
enum BoardToolButton { UndoButton = 4, RestartButton = 5 };  // hoveredControl values after the music buttons
constexpr int UndoButtonX = 200, RestartButtonX = 232, ToolButtonY = 584;
constexpr int ToolButtonSize = 32;
// Where the HUD's caption line may start beside them.
constexpr int ToolButtonsRight = RestartButtonX + ToolButtonSize / 2 + 4;
// The button under the pointer (a 32 x 32 square around its centre), or -1.
int boardToolButtonAt(int x, int y);

// At the level start, once the board is built: no locks, no history, the scramble kept.
void startBoardTools(BoardTools& tools, const Board& board);

// The left click on a cell, as the rules have it, but a locked piece is not turned (a
// computer on it can still be cleaned); a turn goes into the history.
// True when the click cleaned a computer.
bool leftClickWithTools(Board& board, BoardTools& tools, CellPosition cell, int& rankPoints, BoardEvents& events);
// A lone right press (no left press in the frame) and a lone middle press, as the settings
// use them: turn back or lock; nothing at all when the setting is nothing.
void rightPressCell(Board& board, BoardTools& tools, const Settings& settings, CellPosition cell, BoardEvents& events);
void middlePressCell(Board& board, BoardTools& tools, const Settings& settings, CellPosition cell);
// Whether the settings give a button the lock: only then are locks drawn.
bool usesLocks(const Settings& settings);
// Locks or unlocks a piece; on the Server it clears every lock of the board.
void toggleLock(const Board& board, BoardTools& tools, CellPosition cell);

// Takes back the last turn of this board (its piece turned the other way, and unlocked, since
// the lock was put on a turn that is gone). False when there is none.
bool undoTurn(Board& board, BoardTools& tools, BoardEvents& events);
// Every piece as the scramble left it, no locks, no history. Only orientations change.
void restartBoard(Board& board, BoardTools& tools, BoardEvents& events);
// The click on a hovered undo or restart button.
void boardToolClick(Board& board, BoardTools& tools, int control, BoardEvents& events);
