#pragma once
// The menu cycles: the main menu with its help pages, the credits, and the way into play.

struct Game;
struct ShellState;

// Runs menu cycles until the player leaves the program; returns the exit status.
int runMenuCycles(Game& game, ShellState& shell);

// The drawing part of one menu frame, for every state the menu entry runs.
void drawMenuFrame(Game& game, ShellState& shell);
