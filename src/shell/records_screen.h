#pragma once
// The records screen, drawn over the menu like the help pages: the player's rank, the level
// in play, and the best time of every level, a row of five levels to a zone. It shows what
// was loaded and writes nothing.

#include <string>

#include "shell/menu_layout.h"

struct Game;
struct ShellState;

// Where the screen puts the time of a level (its centre x, its top y).
struct RecordCell {
    int x, y;
};
RecordCell recordCell(int levelIndex);
// "mm:ss" of a best time, or "--:--" for a level never completed (the shipped 99:59).
std::string recordTimeText(int frames);

// Notes where the game in play stands, once, as the screen opens.
void openRecordsScreen(Game& game, ShellState& shell);
void drawRecordsScreen(Game& game, ShellState& shell);
