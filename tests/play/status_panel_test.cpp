#include <gtest/gtest.h>

#include "play_fixture.h"
#include "play/status_panel.h"

TEST(StatusPanel, HoverStripIsWiderThanTheButtonsAndHighlightsAtScale) {
    PlayFixture f;
    f.game.input.x = 49;
    f.game.input.y = 569;
    f.media.clearScreen();
    drawMusicButtons(f.game);
    EXPECT_EQ(f.game.hoveredControl, 0);
    ASSERT_EQ(f.media.currentDraws.size(), 5u);
    EXPECT_EQ(f.media.currentDraws[4].frame, 4);
    EXPECT_FLOAT_EQ(f.media.currentDraws[4].state.scaleX, 1.2f);
    EXPECT_EQ(f.media.drawState().scaleX, 1.0f);
    f.game.input.x = 175;
    f.game.hoveredControl = NoControl;
    drawMusicButtons(f.game);
    EXPECT_EQ(f.game.hoveredControl, 3);
    f.game.input.x = 176;
    f.game.hoveredControl = NoControl;
    drawMusicButtons(f.game);
    EXPECT_EQ(f.game.hoveredControl, NoControl);
}

TEST(StatusPanel, StopAndPlayButtonsFadeTheMusic) {
    PlayFixture f;
    f.game.music.musicTarget = 1.0f;
    musicButtonClick(f.game, StopButton);
    EXPECT_EQ(f.game.music.musicTarget, 0.0f);
    musicButtonClick(f.game, PlayButton);
    EXPECT_EQ(f.game.music.musicTarget, 1.0f);
    musicButtonClick(f.game, NoControl);
    EXPECT_EQ(f.game.music.musicTarget, 1.0f);
}

TEST(StatusPanel, TipAppearsOnThe51stStillFrameAndMovementHidesIt) {
    PlayFixture f;
    startLevel(f.game);
    f.runUntil([&] { return f.game.level.phase == LevelPhase::Playing; });
    const Board& board = f.game.board;
    const int x = cellCentreX(board, board.serverX), y = cellCentreY(board, board.serverY + 1);
    f.media.moveMouse(f.media.framesPresented, x, y);
    f.runFrames(51);  // the move, then 50 still frames
    EXPECT_EQ(f.game.tip.timer, 0);
    playFrame(f.game);
    EXPECT_EQ(f.game.tip.text, "Server");
    EXPECT_EQ(f.game.tip.y, y + 28);
    // The bubble below the pointer: left end, three middles, right end, 13 pixels apart.
    const std::vector<DrawCall> bubble = f.media.drawsOf(f.game.res.hint.get());
    ASSERT_EQ(bubble.size(), 5u);
    for (size_t i = 0; i < bubble.size(); ++i) {
        EXPECT_EQ(bubble[i].x, x + 13 * static_cast<int>(i)) << i;
        EXPECT_EQ(bubble[i].y, y + 28) << i;
        EXPECT_EQ(bubble[i].frame, i == 0 ? 0 : i == 4 ? 2 : 1) << i;
        EXPECT_EQ(bubble[i].state.colour.r, 255) << i;
    }
    const std::vector<DrawnText> texts = f.texts();
    const DrawnText* tip = findText(texts, "Server");
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->x, x + 13 * 3 / 2 + 13 - textWidth(f.game.font, "Server") / 2);  // centred on the bubble
    EXPECT_EQ(tip->y, y + 28);
    EXPECT_EQ(tip->colour.b, 255);
    f.runFrames(30);
    EXPECT_NEAR(f.game.tip.alpha, 0.72f, 0.001f);
    f.media.moveMouse(f.media.framesPresented, x + 1, y);
    playFrame(f.game);
    EXPECT_EQ(f.game.tip.timer, 0);
    EXPECT_TRUE(f.media.drawsOf(f.game.res.hint.get()).empty());
}
