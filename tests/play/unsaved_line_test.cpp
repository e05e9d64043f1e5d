// A failed save in play: its short line stands at the top right, above the board and right of
// the hint boxes, lit like the HUD, until a save works again; with every save working the
// frame holds nothing of it. In the menu the whole line is centred across the top band and
// fades with the menu.

#include <gtest/gtest.h>

#include <tuple>

#include "play/unsaved_line.h"
#include "play_fixture.h"

namespace {

// Every short line the game says on its own (the others carry the system's reason).
const char* const ShortLines[] = {"Progress not saved: its folder is not writable",
                                  "Progress not saved: the disk is full", "Progress not saved: no data folder",
                                  "Best times not saved: oldgame.cws could not be read",
                                  "Game not saved: oldgame.cwm could not be read"};

// The width right-alignment places a line by: the glyphs' whole widths, 5 a blank.
int rightAlignedWidth(const SpriteFont& font, const std::string& text) {
    int glyphs = 0;
    for (char c : text) glyphs += c != ' ';
    return textWidth(font, text) + glyphs;
}

void failSave(Progress& progress, const std::string& shortLine) {
    progress.files.unsavedFiles["oldgame.cwm"] = UnsavedFile{"the menu's line", shortLine};
    progress.files.latestUnsaved = "oldgame.cwm";
}

}  // namespace

TEST(UnsavedLineInPlay, StandsAtTheTopRightInAmberUntilTheSaveWorks) {
    PlayFixture f;
    startLevel(f.game);
    f.runFrames(3);
    const size_t quietTexts = f.texts().size();
    EXPECT_EQ(findTextStarting(f.texts(), "Progress"), nullptr);

    failSave(f.game.progress, ShortLines[0]);
    f.runFrames(1);
    const std::vector<DrawnText> texts = f.texts();
    EXPECT_EQ(texts.size(), quietTexts + 1);
    const DrawnText* line = findText(texts, ShortLines[0]);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->x, 792 - rightAlignedWidth(f.game.font, ShortLines[0]));
    EXPECT_EQ(line->y, 4);
    EXPECT_EQ(std::make_tuple(line->colour.r, line->colour.g, line->colour.b), std::make_tuple(255, 176, 64));

    f.game.progress.files.unsavedFiles.clear();  // as the next save that works leaves it
    f.runFrames(1);
    EXPECT_EQ(f.texts().size(), quietTexts);
}

// Above the largest board (its cells from y 36), right of the hint boxes (to x 430), away from
// the music buttons and the HUD along the bottom.
TEST(UnsavedLineInPlay, CoversNoControlAndNoHint) {
    PlayFixture f;
    for (const char* text : ShortLines) EXPECT_GE(792 - rightAlignedWidth(f.game.font, text), 440) << text;
    EXPECT_LE(4 + 13 + 2, 36) << "glyphs and their shadow end above the board";
}

TEST(UnsavedLineInMenu, CentredInTheTopBandInAmberThatFadesAndGivesTheFadeColourBack) {
    PlayFixture f;
    const ScreenFade fade{128, 255};
    drawUnsavedLineInMenu(f.media, f.game.font, fade, f.game.progress.files);
    EXPECT_TRUE(f.media.currentDraws.empty()) << "every save working: nothing to say";

    failSave(f.game.progress, ShortLines[1]);
    f.game.progress.files.unsavedFiles["oldgame.cwm"].line = "Progress not saved: the disk is full (no room)";
    drawUnsavedLineInMenu(f.media, f.game.font, fade, f.game.progress.files);
    const std::vector<DrawnText> texts = smallTexts(f.media.currentDraws, f.game.font.glyphWidths);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Progress not saved: the disk is full (no room)");
    EXPECT_EQ(texts[0].x, 400 - textWidth(f.game.font, texts[0].text) / 2);
    EXPECT_EQ(texts[0].y, 18);
    EXPECT_EQ(std::make_tuple(texts[0].colour.r, texts[0].colour.g, texts[0].colour.b),
              std::make_tuple(128, 176 * 128 / 255, 64 * 128 / 255));
    const Colour after = f.media.getDrawColour();
    EXPECT_EQ(std::make_tuple(after.r, after.g, after.b), std::make_tuple(128, 128, 128));

    // A line wider than the screen gives way to its short form.
    f.media.currentDraws.clear();
    f.game.progress.files.unsavedFiles["oldgame.cwm"].line = std::string(200, 'W');
    drawUnsavedLineInMenu(f.media, f.game.font, fade, f.game.progress.files);
    ASSERT_EQ(smallTexts(f.media.currentDraws, f.game.font.glyphWidths).size(), 1u);
    EXPECT_EQ(smallTexts(f.media.currentDraws, f.game.font.glyphWidths)[0].text, ShortLines[1]);
}
