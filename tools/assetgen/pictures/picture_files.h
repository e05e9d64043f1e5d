#pragma once
// Writes every picture the game loads into a game folder, under its fixed file name.

#include <filesystem>

// Creates gfx/ and gfx/back/ in the folder and writes all pictures; the same bytes every run.
void writeAllPictures(const std::filesystem::path& gameFolder);
