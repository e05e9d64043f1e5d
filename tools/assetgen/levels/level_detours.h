#pragma once
// Detours fill a board without new computers: a link between two neighbouring pieces
// is bent out through the two free cells beside it, so the network winds over cells
// that would otherwise stay empty floor.

#include <array>

#include "board/board.h"
#include "levels/level_design.h"
#include "levels/level_random.h"

// Flood wave of every cell as the game will light the stored network; 0 = free cell.
using WaveGrid = std::array<std::array<int, BoardRows>, BoardColumns>;

// Sets the wave of every cell the Server's outputs reach (FaxModems relay one wave
// later), as the game's flood would; cells it does not reach keep their value.
void recomputeWaves(const LevelDesign& design, WaveGrid& wave);
// Bends one random link of the network through two free cells, keeping every
// computer within MaxStoredWave. False when no link can take a detour.
bool addDetour(LevelDesign& design, WaveGrid& wave, LevelRandom& random);
// True when the first and last column and row of the board each hold a piece.
bool edgesAllUsed(const LevelDesign& design);
