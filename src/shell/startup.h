#pragma once
// Program start: screen, generator, track list, pictures, sounds, fixed tables, records.

struct Game;
struct ShellState;

void startUp(Game& game, ShellState& shell);
