#pragma once
// Helpers for whole-screen scenarios of the shell: the texts a frame shows, with where
// and in which colour, and a scratch game folder made of the built game's own files.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "media/scripted_media.h"

// One line of small-font text as the player sees it: its first glyph's position and its colour.
struct DrawnText {
    std::string text;
    int x = 0, y = 0;
    Colour colour;
    float alpha = 1.0f;
};

// The small-font lines of a frame, in drawing order. The font is told by its strip
// (90 frames of 13 x 13), so this works on the game's own pictures too; a glyph's black
// shadow is left out.
std::vector<DrawnText> smallTexts(const std::vector<DrawCall>& frame);
// The line with exactly this text, or nullptr.
const DrawnText* findText(const std::vector<DrawnText>& texts, const std::string& text);
// The first line whose text begins with the prefix, or nullptr.
const DrawnText* findTextStarting(const std::vector<DrawnText>& texts, const std::string& prefix);

// Links the built pictures, sounds, levels and music into the folder (the progress files are the test's).
bool linkBuiltGameFiles(const std::filesystem::path& folder);
// Four 32-bit little-endian integers and the like, as the progress files hold them.
std::vector<uint8_t> littleEndian(const std::vector<int32_t>& values);
