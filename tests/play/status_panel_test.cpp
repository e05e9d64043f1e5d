#include <gtest/gtest.h>

#include "play_fixture.h"
#include "play/status_panel.h"

TEST(StatusPanel, HoverStripIsWiderThanTheButtonsAndHighlightsAtScale) {
    PlayFixture f;
    f.game.input.x = 49;
    f.game.input.y = 569;
    f.media.clearScreen();
    drawMusicButtons(f.media, *f.game.res.buttons, f.game.input, f.game.hoveredControl);
    EXPECT_EQ(f.game.hoveredControl, 0);
    ASSERT_EQ(f.media.currentDraws.size(), 5u);
    EXPECT_EQ(f.media.currentDraws[4].frame, 4);
    EXPECT_FLOAT_EQ(f.media.currentDraws[4].state.scaleX, 1.2f);
    EXPECT_EQ(f.media.drawState().scaleX, 1.0f);
    f.game.input.x = 175;
    f.game.hoveredControl = NoControl;
    drawMusicButtons(f.media, *f.game.res.buttons, f.game.input, f.game.hoveredControl);
    EXPECT_EQ(f.game.hoveredControl, 3);
    f.game.input.x = 176;
    f.game.hoveredControl = NoControl;
    drawMusicButtons(f.media, *f.game.res.buttons, f.game.input, f.game.hoveredControl);
    EXPECT_EQ(f.game.hoveredControl, NoControl);
}

TEST(StatusPanel, StopAndPlayButtonsFadeTheMusic) {
    PlayFixture f;
    f.game.music.musicTarget = 1.0f;
    musicButtonClick(f.game.music, f.media, StopButton);
    EXPECT_EQ(f.game.music.musicTarget, 0.0f);
    musicButtonClick(f.game.music, f.media, PlayButton);
    EXPECT_EQ(f.game.music.musicTarget, 1.0f);
    musicButtonClick(f.game.music, f.media, NoControl);
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
    EXPECT_TRUE(f.textShown("Server"));
    EXPECT_EQ(f.media.drawsOf(f.game.res.hint.get()).size(), 5u);  // two ends, three middles
    f.runFrames(30);
    EXPECT_NEAR(f.game.tip.alpha, 0.72f, 0.001f);
    f.media.moveMouse(f.media.framesPresented, x + 1, y);
    playFrame(f.game);
    EXPECT_EQ(f.game.tip.timer, 0);
    EXPECT_TRUE(f.media.drawsOf(f.game.res.hint.get()).empty());
}
