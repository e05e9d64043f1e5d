#include <gtest/gtest.h>

#include "play/scene.h"
#include "play_fixture.h"

namespace {

// x of every glyph (not its shadow) drawn from the given picture in the frame being drawn.
std::vector<float> glyphXs(const ScriptedMedia& media, const Image* image) {
    std::vector<float> xs;
    for (size_t i = 0; i < media.currentDraws.size(); ++i)
        if (media.currentDraws[i].image == image && i % 2 == 1) xs.push_back(media.currentDraws[i].x);
    return xs;
}

}  // namespace

TEST(SpriteFont, CentredCaptionStartsAtHalfItsAdvances) {
    PlayFixture f;
    f.game.media.clearScreen();
    drawText(f.media, f.game.font, 400, 290, "Level Completed !", AlignCentre);
    // Advances (width - 1): L7 e7 v8 e7 l2, space 5, C8 o7 m10 p7 l2 e7 t5 e7 d7, space 5, !1 = 102.
    const std::vector<float> xs = glyphXs(f.media, f.game.font.smallGlyphs.get());
    ASSERT_EQ(xs.size(), 15u);
    EXPECT_EQ(xs.front(), 349);
    EXPECT_EQ(xs[5], 385);  // 'C' after "Level" and a space
    EXPECT_EQ(xs.back(), 450);
}

TEST(SpriteFont, RightPlacementUsesFullWidthsAndLeftStartsAtX) {
    PlayFixture f;
    f.media.clearScreen();
    drawText(f.media, f.game.font, 100, 10, "ab",
             AlignRight);  // a 7, b 8: starts at 85, ends one pixel per glyph short
    drawText(f.media, f.game.font, 20, 40, "a b", AlignLeft);
    const std::vector<float> xs = glyphXs(f.media, f.game.font.smallGlyphs.get());
    EXPECT_EQ(xs, (std::vector<float>{85, 91, 20, 31}));
}

TEST(SpriteFont, ShadowIsBlackAtTwoTwoWithLessAlphaAndStateIsRestored) {
    PlayFixture f;
    f.media.clearScreen();
    f.media.setDrawColour(200, 100, 50);
    f.media.setDrawAlpha(1.0f);
    drawText(f.media, f.game.font, 10, 20, "A", AlignLeft);
    ASSERT_EQ(f.media.currentDraws.size(), 2u);
    const DrawCall& shadow = f.media.currentDraws[0];
    const DrawCall& glyph = f.media.currentDraws[1];
    EXPECT_EQ(shadow.frame, 'A' - 33);
    EXPECT_EQ(shadow.x, 12);
    EXPECT_EQ(shadow.y, 22);
    EXPECT_EQ(shadow.state.colour.r + shadow.state.colour.g + shadow.state.colour.b, 0);
    EXPECT_FLOAT_EQ(shadow.state.alpha, 0.7f);
    EXPECT_EQ(glyph.x, 10);
    EXPECT_EQ(glyph.state.colour.r, 200);
    EXPECT_FLOAT_EQ(glyph.state.alpha, 1.0f);
    EXPECT_EQ(f.media.getDrawColour().b, 50);
}

TEST(SpriteFont, UnknownCharactersAndEmptyTextDrawNothing) {
    PlayFixture f;
    f.media.clearScreen();
    drawText(f.media, f.game.font, 10, 20, "", AlignCentre);
    EXPECT_TRUE(f.media.currentDraws.empty());
    drawText(f.media, f.game.font, 10, 20, "a\x7f\xe9{b", AlignLeft);
    EXPECT_EQ(glyphXs(f.media, f.game.font.smallGlyphs.get()), (std::vector<float>{10, 16}));
}

TEST(SpriteFont, FiveCharacterTimerEndsAtX) {
    PlayFixture f;
    f.media.clearScreen();
    drawDigits(f.media, f.game.font, 780, 545, "12:34");
    const std::vector<float> xs = glyphXs(f.media, f.game.font.bigDigits.get());
    EXPECT_EQ(xs, (std::vector<float>{645, 672, 699, 726, 753}));
    EXPECT_EQ(f.media.currentDraws[5].frame, 10);  // ':' is the eleventh picture
    EXPECT_EQ(f.media.currentDraws[4].x, 701);     // shadow of ':'
}

TEST(SpriteFont, LevelTimeText) {
    EXPECT_EQ(levelTimeText(0), "00:00");
    EXPECT_EQ(levelTimeText(125 * 60), "02:05");
    EXPECT_EQ(levelTimeText(3599), "00:59");
    EXPECT_EQ(levelTimeText(100 * 3600 + 61 * 60), "101:01");
}

TEST(SpriteFont, EveryGlyphAdvancesByItsWidthFromTheTableLessOne) {
    // The widths of '!' .. 'z', as the font's pictures were drawn.
    const int widths[90] = {2,  6, 9,  8, 14, 11, 4, 6,  5,  8,  9,  4, 6,  3, 6, 8,  6,  8,  8, 9, 8, 8,  9,
                            9,  8, 4,  5, 9,  9,  9, 7,  12, 10, 8,  9, 10, 8, 8, 10, 10, 6,  7, 9, 8, 10, 9,
                            11, 8, 11, 9, 9,  10, 9, 10, 14, 9,  10, 9, 5,  7, 6, 9,  9,  4,  7, 8, 7, 8,  8,
                            7,  8, 7,  3, 5,  7,  3, 11, 7,  8,  8,  8, 5,  7, 6, 7,  9,  11, 9, 8, 8};
    std::string all;
    for (int code = 33; code <= 122; ++code) all.push_back(static_cast<char>(code));
    PlayFixture f;
    f.media.clearScreen();
    drawText(f.media, f.game.font, 0, 0, all, AlignLeft);
    const std::vector<float> xs = glyphXs(f.media, f.game.font.smallGlyphs.get());
    ASSERT_EQ(xs.size(), 90u);
    int x = 0;
    for (int i = 0; i < 90; ++i) {
        EXPECT_EQ(xs[static_cast<size_t>(i)], x) << "glyph " << static_cast<char>(33 + i);
        x += widths[i] - 1;
    }
}
