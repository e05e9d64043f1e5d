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
// Plays the stored level to its end with the game's own clicks and floods: let every
// hidden virus reveal itself, then clean each infected computer while it is the only
// one connected. Returns the faults found; empty when the level was completed.
std::vector<std::string> playVirusesOut(const MapData& mapData, int level);
