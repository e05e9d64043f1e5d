#pragma once
// Writes the game's sound effects, menu theme and music tracks into a game folder.

#include <string>

// "sfx/*.wav" in the different WAV layouts the game reads, and "sfx/menutheme.ogg".
bool writeEffectsAndTheme(const std::string& gameFolder);
// "tracks/": two pieces as Ogg Vorbis and one as WAV.
bool writeTracks(const std::string& gameFolder);
