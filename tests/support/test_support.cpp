#include "support/test_support.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>

ScratchFolder::ScratchFolder(const std::string& name) {
    static std::atomic<int> counter{0};
    root = std::filesystem::temp_directory_path() /
           ("cw-" + name + "-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

WorkingFolder::WorkingFolder(const std::filesystem::path& folder) : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
}

WorkingFolder::~WorkingFolder() { std::filesystem::current_path(previous); }

ScopedEnv::ScopedEnv(const char* name, const char* value) : name(name) {
    if (const char* old = std::getenv(name)) before = old;
    value ? setenv(name, value, 1) : unsetenv(name);
}

ScopedEnv::~ScopedEnv() { before ? setenv(name, before->c_str(), 1) : unsetenv(name); }

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    const auto parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path gameFolder() {
    const char* folder = std::getenv("GAME_DIR");
    return folder ? std::filesystem::path(folder) : std::filesystem::path("game");
}

std::vector<uint8_t> littleEndian(const std::vector<int32_t>& values) {
    std::vector<uint8_t> bytes;
    for (int32_t value : values)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> shift));
    return bytes;
}

// ---- Texts drawn in the small picture font ---------------------------------------

namespace {

constexpr int SpaceAdvance = 5;
constexpr int WidestGap = 4 * SpaceAdvance;  // more than four spaces apart: another text on the same row

bool isSmallFont(const DrawCall& call) {
    return call.kind == DrawCall::Kind::Image && call.image && call.image->frameCount() == 90 &&
           call.image->width == 13;
}

bool isShadow(const DrawCall& call) {
    return call.state.colour.r == 0 && call.state.colour.g == 0 && call.state.colour.b == 0;
}

}  // namespace

std::vector<DrawnText> smallTexts(const std::vector<DrawCall>& frame, const std::array<int, 90>& glyphWidths) {
    std::vector<DrawnText> lines;
    int nextX = 0;
    bool previousWasShadow = false;
    for (const DrawCall& call : frame) {
        if (!isSmallFont(call)) continue;
        // Every glyph comes as its shadow and then itself; black text would look like shadows only.
        if (isShadow(call) && !previousWasShadow) {
            previousWasShadow = true;
            continue;
        }
        previousWasShadow = false;
        const int x = static_cast<int>(call.x), y = static_cast<int>(call.y);
        const int gap = x - nextX;
        if (lines.empty() || y != lines.back().y || gap < 0 || gap > WidestGap || gap % SpaceAdvance != 0) {
            lines.push_back(DrawnText{"", x, y, call.state.colour, call.state.alpha});
        } else {
            lines.back().text.append(static_cast<size_t>(gap / SpaceAdvance), ' ');
        }
        lines.back().text.push_back(static_cast<char>(call.frame + 33));
        nextX = x + glyphWidths[static_cast<size_t>(call.frame)] - 1;
    }
    return lines;
}

const DrawnText* findText(const std::vector<DrawnText>& texts, const std::string& text) {
    for (const DrawnText& line : texts)
        if (line.text == text) return &line;
    return nullptr;
}

const DrawnText* findTextStarting(const std::vector<DrawnText>& texts, const std::string& prefix) {
    for (const DrawnText& line : texts)
        if (line.text.rfind(prefix, 0) == 0) return &line;
    return nullptr;
}

DrawnText placedRow(const TableRow& row, const std::array<int, 90>& glyphWidths) {
    int advances = 0, full = 0;
    for (const char c : row.text) {
        const int width = c == ' ' ? 0 : glyphWidths[static_cast<size_t>(c - 33)];
        advances += c == ' ' ? SpaceAdvance : width - 1;
        full += c == ' ' ? SpaceAdvance : width;
    }
    const size_t first = row.text.find_first_not_of(' ');
    if (first == std::string::npos) return DrawnText{"", row.x, row.y, {}, 1.0f};
    const int start = row.align == 'c' ? row.x - advances / 2 : row.align == 'r' ? row.x - full : row.x;
    const std::string shown = row.text.substr(first, row.text.find_last_not_of(' ') + 1 - first);
    return DrawnText{shown, start + SpaceAdvance * static_cast<int>(first), row.y, {}, 1.0f};
}

std::vector<SeenRow> seenRows(const std::vector<DrawnText>& lines) {
    std::vector<SeenRow> rows;
    for (const DrawnText& line : lines) rows.emplace_back(line.text, line.x, line.y);
    return rows;
}

std::vector<SeenRow> seenRows(const std::vector<TableRow>& rows, const std::array<int, 90>& glyphWidths) {
    std::vector<DrawnText> lines;
    for (const TableRow& row : rows)
        if (row.text.find_first_not_of(' ') != std::string::npos) lines.push_back(placedRow(row, glyphWidths));
    return seenRows(lines);
}
