#pragma once
// Writes the generated levels into a game folder.

#include <filesystem>
#include <string>
#include <vector>

#include "levels/level_generator.h"

// maps/newmapdata.cwm always (creating maps/), oldgame.cws only when the folder has
// none yet, so a rebuild never wipes a player's records. Returns the failure, or "".
std::string writeLevelFiles(const std::filesystem::path& folder, const std::vector<GeneratedLevel>& levels);
