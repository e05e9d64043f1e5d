#pragma once
// Writes every picture the game loads into a game folder, under its fixed file name, once
// for each picture set: "gfx/" at scale 1, "gfx@2/" and "gfx@3/" at scales 2 and 3.

#include <filesystem>

// How many picture files a set holds.
int pictureFileCount();
// Creates the set's folders in the game folder and writes its pictures; the same bytes every run.
void writePictureSet(const std::filesystem::path& gameFolder, int scale);
// Every set, one after the other.
void writeAllPictures(const std::filesystem::path& gameFolder);
