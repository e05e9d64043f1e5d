#pragma once
// The three "How to play?" pages drawn over the menu.

struct Game;
struct ShellState;

constexpr int HelpPageCount = 3;

// Draws the current page and the next-page button, and runs the button's hover and glow.
void drawHelpOverlay(Game& game, ShellState& shell);
