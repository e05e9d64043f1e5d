#include "shell/shell_scenario.h"

#include "play/sprite_font.h"
#include "support/test_support.h"

namespace {

constexpr int SpaceAdvance = 5;
constexpr int WidestGap = 4 * SpaceAdvance;  // more than four spaces apart: another text on the same row

bool isSmallFont(const DrawCall& call) {
    return call.kind == DrawCall::Kind::Image && call.image && call.image->frameCount == 90 &&
           call.image->width == 13;
}

bool isShadow(const DrawCall& call) {
    return call.state.colour.r == 0 && call.state.colour.g == 0 && call.state.colour.b == 0;
}

}  // namespace

std::vector<DrawnText> smallTexts(const std::vector<DrawCall>& frame) {
    SpriteFont font;
    buildGlyphWidths(font);
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
        nextX = x + font.glyphWidths[static_cast<size_t>(call.frame)] - 1;
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

bool linkBuiltGameFiles(const std::filesystem::path& folder) {
    const auto game = gameFolder();
    if (!std::filesystem::exists(game / "maps/newmapdata.cwm")) return false;
    for (const char* name : {"gfx", "sfx", "maps", "tracks"})
        std::filesystem::create_directory_symlink(std::filesystem::absolute(game / name), folder / name);
    return true;
}

std::vector<uint8_t> littleEndian(const std::vector<int32_t>& values) {
    std::vector<uint8_t> bytes;
    for (int32_t value : values)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> shift));
    return bytes;
}
