// A game pad as a second mouse: its buttons press what the mouse's and the keyboard's do,
// its d-pad steps the pointer from cell to cell of a board, and its stick moves the pointer
// a pixel at a time when pushed a little and across the board within a second when pushed
// all the way.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "media/game_pad.h"

namespace {

constexpr int Width = 800, Height = 600;
constexpr int Full = 32767;
// The largest board: 14 x 11 cells of 48 pixels, centred on the screen.
constexpr int Columns = 14, Rows = 11, Pitch = 48;
constexpr PadGrid LargestBoard{(Width - Columns * Pitch) / 2, (Height - Rows * Pitch) / 2, Pitch};

class Pad : public ::testing::Test {
protected:
    void SetUp() override { input.pointerMoved(Width / 2, Height / 2); }
    void frame(StickPosition stick = {}) { pad.stepFrame(stick, LargestBoard, input, Width, Height); }
    void tap(PadButton button) {
        pad.pressed(button, input);
        pad.released(button, input);
        frame();
    }
    int cellColumn() const { return (input.pointerX - LargestBoard.originX) / Pitch; }
    int cellRow() const { return (input.pointerY - LargestBoard.originY) / Pitch; }
    int centreX(int column) const { return LargestBoard.originX + column * Pitch + Pitch / 2; }
    int centreY(int row) const { return LargestBoard.originY + row * Pitch + Pitch / 2; }
    // Frames of pushing the stick until the pointer's x reaches `x`, at most `limit`.
    int framesToReachX(int x, StickPosition stick, int limit = 600) {
        int frames = 0;
        while (input.pointerX != x && frames < limit) {
            frame(stick);
            ++frames;
        }
        return frames;
    }

    GamePad pad;
    InputState input;
};

}  // namespace

// ---- Buttons -------------------------------------------------------------------------

TEST_F(Pad, EachButtonPressesWhatTheMouseOrTheKeyboardWould) {
    struct Case {
        PadButton button;
        bool isMouse;
        MouseButton mouse;
        Key key;
    };
    const Case cases[] = {
        {PadButton::A, true, MouseButton::Left, Key::Enter},
        {PadButton::X, true, MouseButton::Right, Key::Enter},
        {PadButton::Y, true, MouseButton::Middle, Key::Enter},
        {PadButton::B, false, MouseButton::Left, Key::Escape},
        {PadButton::Back, false, MouseButton::Left, Key::Escape},
        {PadButton::Start, false, MouseButton::Left, Key::PadStart},
    };
    for (const Case& c : cases) {
        InputState fresh;
        pad.pressed(c.button, fresh);
        // Held over many frames, a press counts once, as the mouse's does.
        for (int i = 0; i < 30; ++i) pad.stepFrame({}, LargestBoard, fresh, Width, Height);
        pad.pressed(c.button, fresh);  // told again while down: nothing more
        InputState expected;
        if (c.isMouse)
            expected.mousePressed(c.mouse);
        else
            expected.keyPressed(c.key);
        EXPECT_EQ(fresh.mouseDown, expected.mouseDown) << static_cast<int>(c.button);
        EXPECT_EQ(fresh.mouseHits, expected.mouseHits) << static_cast<int>(c.button);
        EXPECT_EQ(fresh.keyDown, expected.keyDown) << static_cast<int>(c.button);
        EXPECT_EQ(fresh.keyHits, expected.keyHits) << static_cast<int>(c.button);
        pad.released(c.button, fresh);
        EXPECT_EQ(fresh.mouseDown, InputState{}.mouseDown) << static_cast<int>(c.button);
        EXPECT_EQ(fresh.keyDown, InputState{}.keyDown) << static_cast<int>(c.button);
    }
}

TEST_F(Pad, EscapeStaysDownWhileEitherOfItsButtonsIs) {
    pad.pressed(PadButton::B, input);
    pad.pressed(PadButton::Back, input);
    EXPECT_EQ(input.hits(Key::Escape), 1);
    pad.released(PadButton::B, input);
    EXPECT_TRUE(input.down(Key::Escape));  // play still sees Escape held
    pad.released(PadButton::Back, input);
    EXPECT_FALSE(input.down(Key::Escape));
}

TEST_F(Pad, LettingGoReleasesWhatThePadHeldAndKeepsThePressesCounted) {
    pad.pressed(PadButton::A, input);
    pad.pressed(PadButton::B, input);
    pad.pressed(PadButton::Right, input);
    pad.letGo(input);
    EXPECT_FALSE(input.down(MouseButton::Left));
    EXPECT_FALSE(input.down(Key::Escape));
    EXPECT_EQ(input.hits(MouseButton::Left), 1);
    // The d-pad press not yet stepped is dropped, and the held one repeats no more.
    for (int i = 0; i < 60; ++i) frame();
    EXPECT_EQ(input.pointerX, Width / 2);
    // A release that comes afterwards changes nothing; a new press counts.
    input.mousePressed(MouseButton::Left);  // the mouse's own button, down meanwhile
    pad.released(PadButton::A, input);
    EXPECT_TRUE(input.down(MouseButton::Left));
    pad.pressed(PadButton::B, input);
    EXPECT_EQ(input.hits(Key::Escape), 2);
}

// ---- The d-pad ------------------------------------------------------------------------

TEST_F(Pad, ADpadPressLandsOnTheCentreOfTheNeighbouringCell) {
    input.pointerMoved(70, 200);  // near the left edge of the board's first column, row 3
    tap(PadButton::Right);
    EXPECT_EQ(input.pointerX, centreX(1));
    EXPECT_EQ(input.pointerY, centreY(3));
    tap(PadButton::Right);
    EXPECT_EQ(input.pointerX, centreX(2));  // from a centre: exactly one cell
    tap(PadButton::Down);
    EXPECT_EQ(input.pointerY, centreY(4));
    tap(PadButton::Up);
    tap(PadButton::Up);
    EXPECT_EQ(input.pointerY, centreY(2));
    tap(PadButton::Left);
    EXPECT_EQ(input.pointerX, centreX(1));
    EXPECT_EQ(input.pointerY, centreY(2));
}

TEST_F(Pad, APressAndReleaseBetweenTwoFramesStillSteps) {
    pad.pressed(PadButton::Left, input);
    pad.released(PadButton::Left, input);
    pad.pressed(PadButton::Left, input);
    pad.released(PadButton::Left, input);
    frame();
    EXPECT_EQ(cellColumn(), 5);  // the screen's centre is on column 7's left edge; two presses
}

TEST_F(Pad, EveryCellOfTheLargestBoardIsReachedAtItsCentre) {
    // From the screen's centre, as a player starts, to every cell and back.
    for (int column = 0; column < Columns; ++column)
        for (int row = 0; row < Rows; ++row) {
            input.pointerMoved(Width / 2, Height / 2);
            const int startColumn = cellColumn(), startRow = cellRow();
            for (int c = startColumn; c < column; ++c) tap(PadButton::Right);
            for (int c = startColumn; c > column; --c) tap(PadButton::Left);
            for (int r = startRow; r < row; ++r) tap(PadButton::Down);
            for (int r = startRow; r > row; --r) tap(PadButton::Up);
            if (column == startColumn && row == startRow) continue;
            ASSERT_EQ(input.pointerX, centreX(column)) << column << "," << row;
            ASSERT_EQ(input.pointerY, centreY(row)) << column << "," << row;
        }
}

TEST_F(Pad, AHeldDpadStepsAfterAPauseThenTenTimesASecond) {
    input.pointerMoved(centreX(0), centreY(0));
    pad.pressed(PadButton::Right, input);
    int steps = 0, firstRepeat = 0;
    for (int frameNumber = 1; frameNumber <= 60; ++frameNumber) {
        const int before = input.pointerX;
        frame();
        if (input.pointerX == before) continue;
        ++steps;
        if (steps == 2) firstRepeat = frameNumber;
    }
    EXPECT_EQ(firstRepeat, 18);  // a tap is never taken for two steps
    EXPECT_EQ(steps, 1 + 8);     // the press, then every sixth frame from frame 18 to 60
    EXPECT_EQ(cellColumn(), 9);
}

TEST_F(Pad, TheDpadTakesThePointerToTheScreensEdgesAndNoFurther) {
    tap(PadButton::Up);
    for (int i = 0; i < 5; ++i) tap(PadButton::Up);
    EXPECT_EQ(input.pointerY, 12);  // the centre of the row of cells above the board
    tap(PadButton::Up);
    EXPECT_EQ(input.pointerY, 0);  // that of the next is off the screen
    for (int i = 0; i < 20; ++i) tap(PadButton::Left);
    EXPECT_EQ(input.pointerX, 0);
    EXPECT_EQ(input.pointerY, 12);  // a step sideways centres it in its row again
    for (int i = 0; i < 20; ++i) tap(PadButton::Right);
    for (int i = 0; i < 20; ++i) tap(PadButton::Down);
    EXPECT_EQ(input.pointerX, Width - 1);
    EXPECT_EQ(input.pointerY, Height - 1);
    tap(PadButton::Left);
    EXPECT_EQ(input.pointerX, centreX(Columns));  // the cell right of the board
}

// ---- The stick ------------------------------------------------------------------------

TEST_F(Pad, AStickAtRestOrInItsDeadZoneMovesNothing) {
    for (const StickPosition rest : {StickPosition{0, 0}, {7000, 0}, {-5000, 5000}, {0, -7900}})
        for (int i = 0; i < 60; ++i) frame(rest);
    EXPECT_EQ(input.pointerX, Width / 2);
    EXPECT_EQ(input.pointerY, Height / 2);
}

TEST_F(Pad, PushedALittleTheStickCreepsAPixelAtATimeOntoEveryPixel) {
    int frames = 0;
    while (input.pointerX < Width / 2 + 48) {
        const int before = input.pointerX;
        frame({14000, 0});
        ASSERT_LE(input.pointerX - before, 1);
        ASSERT_GE(input.pointerX - before, 0);
        ASSERT_LT(++frames, 600);
    }
    EXPECT_EQ(input.pointerY, Height / 2);
    // Slow enough to stop on any pixel: a cell takes well over a second.
    EXPECT_GT(frames, 60);
}

TEST_F(Pad, PushedAllTheWayTheStickSpeedsUpAndCrossesTheBoardWithinASecond) {
    input.pointerMoved(centreX(0), centreY(5));
    int firstStep = 0, lastStep = 0;
    int frames = 0;
    while (input.pointerX < centreX(Columns - 1)) {
        const int before = input.pointerX;
        frame({Full, 0});
        if (frames == 0) firstStep = input.pointerX - before;
        lastStep = input.pointerX - before;
        ASSERT_LT(++frames, 600);
    }
    EXPECT_LE(firstStep, 4);
    EXPECT_GE(lastStep, 16);
    EXPECT_LT(frames, 60) << "frames to cross the board";
    input.pointerMoved(centreX(5), centreY(0));
    int down = 0;
    while (input.pointerY < centreY(Rows - 1)) {
        frame({0, Full});
        ASSERT_LT(++down, 600);
    }
    EXPECT_LT(down, 50);
    std::printf("full push: %d frames across the board's 13 cell pitches, %d down its 10\n", frames, down);
}

TEST_F(Pad, LettingTheStickBackStartsTheSpeedAgainFromSlow) {
    for (int i = 0; i < 30; ++i) frame({Full, 0});
    frame();
    input.pointerMoved(100, 100);
    frame({Full, 0});
    EXPECT_LE(input.pointerX - 100, 4);
}

TEST_F(Pad, ADiagonalPushMovesAsFastOnBothAxes) {
    for (int i = 0; i < 20; ++i) frame({-23170, -23170});  // 45 degrees, all the way
    const int left = Width / 2 - input.pointerX, up = Height / 2 - input.pointerY;
    EXPECT_GT(left, 40);
    EXPECT_LE(std::abs(left - up), 1);
}

TEST_F(Pad, TheStickStopsAtTheScreensEdgesAndComesBackAtOnce) {
    for (int i = 0; i < 120; ++i) frame({Full, Full});
    EXPECT_EQ(input.pointerX, Width - 1);
    EXPECT_EQ(input.pointerY, Height - 1);
    frame({-Full, 0});  // nothing was kept of the push against the edge
    EXPECT_LT(input.pointerX, Width - 1);
    EXPECT_EQ(input.pointerY, Height - 1);
}

TEST_F(Pad, TheMouseMovesThePointerAndThePadGoesOnFromThere) {
    frame({Full, 0});
    input.pointerMoved(200, 150);  // the mouse
    tap(PadButton::Down);
    EXPECT_EQ(input.pointerX, centreX(2));
    EXPECT_EQ(input.pointerY, centreY(3));
}
