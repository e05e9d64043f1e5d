#pragma once
// Helpers for whole-screen scenarios of the shell: the texts a frame shows, with where
// and in which colour, and a scratch game folder made of the built game's own files.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

// The small-font lines of a frame (see test_support.h), with the game's own glyph widths.
std::vector<DrawnText> smallTexts(const std::vector<DrawCall>& frame);

// The rows of a table placed as the game places them, with its own glyph widths.
std::vector<SeenRow> seenRows(const std::vector<TableRow>& rows);

class ScriptedMedia;

// Runs the whole game in the folder for at most frames frames; the message of the fatal
// error that stopped it, or "" when it ran on.
std::string startUpMessage(const std::filesystem::path& folder, ScriptedMedia& media, int frames);

// Links the built pictures, sounds, levels and music into the folder (the progress files are the test's).
bool linkBuiltGameFiles(const std::filesystem::path& folder);
