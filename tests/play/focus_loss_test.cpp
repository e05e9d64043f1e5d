// The window losing the focus in the middle of a click during play: the button is not
// left down, and the player's next press turns the piece as any press does.

#include <gtest/gtest.h>

#include "play_fixture.h"

namespace {

TEST(FocusLossInPlay, ThePressAfterAFocusLossStillTurnsThePiece) {
    PlayFixture f;
    startLevel(f.game);
    // Cell (1, 0) of the test level is a straight: each quarter turn swaps its two tiles.
    const int column = 1, row = 0;
    const int before = f.game.board.tile[column][row];
    int frame = f.media.framesPresented;
    f.media.moveMouse(frame, cellCentreX(f.game.board, column), cellCentreY(f.game.board, row));
    f.media.pressMouse(frame, MouseButton::Left);
    f.media.loseFocus(frame + 1);  // the release goes to another window
    f.runFrames(3);
    EXPECT_NE(f.game.board.tile[column][row], before);
    EXPECT_EQ(f.media.mouseDown(MouseButton::Left), 0);
    frame = f.media.framesPresented;
    f.media.pressMouse(frame, MouseButton::Left);
    f.runFrames(2);
    EXPECT_EQ(f.game.board.tile[column][row], before) << "the second press was swallowed";
}

}  // namespace
