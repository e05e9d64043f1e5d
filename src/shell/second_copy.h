#pragma once
// A second copy of the game started for a player whose folder another copy plays from (a
// double click on the menu entry, a second start from a terminal): it shows the menu under
// a plate that says so, and ends after a few seconds or at a click or a key, having read
// and written nothing in the player's folder.

struct Game;
struct ShellState;

// "Cablewright is already running for this player"
extern const char* const SecondCopyText;
// How long the plate shows at most, fade-in included.
constexpr int SecondCopyFrames = 420;
// The exit status of a copy that did not run.
constexpr int SecondCopyStatus = 1;

// Runs the plate's frames after start-up; returns the exit status.
int refuseSecondCopy(Game& game, ShellState& shell);
