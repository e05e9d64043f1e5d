#pragma once
// Checks of a stored level made with the game's own board code: what the player
// will get is what the map data file holds, not what the generator meant.

#include <string>
#include <vector>

#include "board/board.h"

// Every fault found in level `level` of the store; empty when the level is sound.
std::vector<std::string> checkStoredLevel(const MapData& mapData, int level);
// The wave in which the game's floods light the last computer of the stored level
// (viruses left out); 0 when some computer is not lit at all.
int storedLongestWave(const MapData& mapData, int level);
// Plays a board to completion with the game's own clicks and floods, from whatever
// orientations it shows, towards the given solved tiles: every computer is connected
// alone once, so each hidden virus shows itself and is cleaned while it is the only
// infected computer connected. Returns the faults found; empty when the level completed.
std::vector<std::string> playLevelOut(Board& board, const Grid& solvedTiles);
// The same for the stored level, starting from its stored (solved) orientations.
std::vector<std::string> playStoredLevelOut(const MapData& mapData, int level);
