#include "shell/shell_scenario.h"

#include "media/scripted/scripted_media.h"
#include "play/sprite_font.h"
#include "shell/run_game.h"
#include "support/test_support.h"

bool linkBuiltGameFiles(const std::filesystem::path& folder) {
    const auto game = gameFolder();
    if (!std::filesystem::exists(game / "maps/newmapdata.cwm")) return false;
    for (const char* name : {"gfx", "sfx", "maps", "tracks"})
        std::filesystem::create_directory_symlink(std::filesystem::absolute(game / name), folder / name);
    return true;
}

std::vector<DrawnText> smallTexts(const std::vector<DrawCall>& frame) {
    SpriteFont font;
    buildGlyphWidths(font);
    return smallTexts(frame, font.glyphWidths);
}

std::vector<SeenRow> seenRows(const std::vector<TableRow>& rows) {
    SpriteFont font;
    buildGlyphWidths(font);
    return seenRows(rows, font.glyphWidths);
}

std::string startUpMessage(const std::filesystem::path& folder, ScriptedMedia& media, int frames) {
    WorkingFolder inFolder(folder);
    media.frameLimit = frames;
    try {
        runGame(media);
    } catch (const FatalError& error) {
        return error.what();
    } catch (const ScriptEnded&) {}
    return "";
}
