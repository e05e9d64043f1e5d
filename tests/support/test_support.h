#pragma once
// Shared helpers for the tests: scratch folders and byte files.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "media/scripted/scripted_media.h"

// A fresh empty folder under the system temp folder, removed when the object dies.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    const std::filesystem::path& path() const { return root; }
    std::string file(const std::string& relative) const { return (root / relative).string(); }

private:
    std::filesystem::path root;
};

// Makes the given folder the working folder for the life of the object.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::filesystem::path& folder);
    ~WorkingFolder();

private:
    std::filesystem::path previous;
};

// An environment variable set (removed, for nullptr) for the life of the object, then put back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();

private:
    const char* name;
    std::optional<std::string> before;
};

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::string& path);
// The built game folder (with generated assets), from the GAME_DIR environment variable.
std::filesystem::path gameFolder();

// 32-bit little-endian integers, as the progress files hold them.
std::vector<uint8_t> littleEndian(const std::vector<int32_t>& values);

// One line of small-font text as the player sees it: its first glyph's position and its colour.
struct DrawnText {
    std::string text;
    int x = 0, y = 0;
    Colour colour;
    float alpha = 1.0f;
};
// The small-font lines of a frame, in drawing order, given the font's glyph widths. The font
// is told by its strip (90 frames of 13 x 13), so this works on the game's own pictures too;
// each glyph's black shadow is left out.
std::vector<DrawnText> smallTexts(const std::vector<DrawCall>& frame, const std::array<int, 90>& glyphWidths);
// The line with exactly this text, or nullptr.
const DrawnText* findText(const std::vector<DrawnText>& texts, const std::string& text);
// The first line whose text begins with the prefix, or nullptr.
const DrawnText* findTextStarting(const std::vector<DrawnText>& texts, const std::string& prefix);

// A line of a screen's table as the player should see it: the text placed at (x, y) left ('l'),
// centred ('c': by its advances, width - 1 and 5 a blank) or right-aligned ('r': ending at x by
// the full widths). Blanks at either end show nothing, so x is that of the first glyph.
struct TableRow {
    int x, y;
    char align;
    std::string text;
};
DrawnText placedRow(const TableRow& row, const std::array<int, 90>& glyphWidths);
// Lines as (text, x, y), in drawing order: those read from a frame, or the rows of a table.
using SeenRow = std::tuple<std::string, int, int>;
std::vector<SeenRow> seenRows(const std::vector<DrawnText>& lines);
std::vector<SeenRow> seenRows(const std::vector<TableRow>& rows, const std::array<int, 90>& glyphWidths);
