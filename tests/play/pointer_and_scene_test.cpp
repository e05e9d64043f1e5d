#include <gtest/gtest.h>

#include <tuple>

#include "play/scene.h"
#include "play_fixture.h"

namespace {

int pointerFrameDrawn(PlayFixture& f, bool cleaning) {
    f.media.clearScreen();
    drawPointer(f.media, f.game.res, f.game.pointer, f.game.input, cleaning);
    return f.media.currentDraws.back().frame;
}

}  // namespace

TEST(Pointer, NormalPointerBlinksEvery25FramesAndTheCursorTurnsThrough34) {
    PlayFixture f;
    std::vector<int> frames;
    for (int i = 0; i < 51; ++i) frames.push_back(pointerFrameDrawn(f, false));
    EXPECT_EQ(frames[24], 0);
    EXPECT_EQ(frames[25], 1);
    EXPECT_EQ(frames[49], 1);
    EXPECT_EQ(frames[50], 0);
    EXPECT_EQ(f.media.currentDraws.back().image, f.game.res.pointer.get());

    // The cleaning cursor: two frames per picture, 34 pictures, then round again.
    f.game.pointer = PointerAnimation{};
    frames.clear();
    for (int i = 0; i < 70; ++i) frames.push_back(pointerFrameDrawn(f, true));
    EXPECT_EQ(frames[1], 0);
    EXPECT_EQ(frames[2], 1);
    EXPECT_EQ(frames[67], 33);
    EXPECT_EQ(frames[68], 0);
    EXPECT_EQ(f.media.currentDraws.back().image, f.game.res.crest.get());
}

TEST(Pointer, SwitchingBackResetsAHighFrameAndAHighTickStillTurnsTheCursor) {
    PlayFixture f;
    f.game.pointer = PointerAnimation{20, 1};
    EXPECT_EQ(pointerFrameDrawn(f, false), 0);
    f.game.pointer = PointerAnimation{5, 24};  // left by the normal pointer
    pointerFrameDrawn(f, true);
    EXPECT_EQ(pointerFrameDrawn(f, true), 6);
}

// Where the tile sheet was drawn: frame, position, red of the colour, alpha.
using TileDraw = std::tuple<int, float, float, int, float>;

TEST(Scene, EveryCellAndDeviceSitsOnItsCellWithItsShadowFourPixelsDownRight) {
    PlayFixture f;
    startLevel(f.game);
    f.game.fade.brightness = f.game.fade.fadeTarget = 100;
    Board& board = f.game.board;
    ASSERT_EQ(board.sizeClass, 0);
    ASSERT_EQ(board.computers.size(), 1u);
    board.computers[0].animFrame = 3;
    board.faxModems.push_back(FaxModem{3, 4, false, 0, 1});
    playFrame(f.game);
    // The smallest board starts at (304, 180): cell centres are 48 pixels apart from (328, 204).
    std::vector<TileDraw> expected;
    auto shadowed = [&](int column, int row, int frame, float shadowAlpha) {
        const float x = 328.0f + 48 * column, y = 204.0f + 48 * row;
        expected.push_back({frame, x + 4, y + 4, 0, shadowAlpha});
        expected.push_back({frame, x, y, 100, 1.0f});
    };
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 5; ++row) shadowed(column, row, board.tile[column][row], 0.5f);
    const Computer& computer = board.computers[0];
    shadowed(computer.x, computer.y, computer.state * 40 + 3, 0.4f);
    shadowed(3, 4, 99, 0.4f);  // the FaxModem's second blink picture
    shadowed(board.serverX, board.serverY, 96, 0.4f);
    shadowed(board.serverX, board.serverY + 1, 97, 0.4f);
    std::vector<TileDraw> drawn;
    for (const DrawCall& call : f.media.drawsOf(f.game.res.tiles.get()))
        drawn.push_back({call.frame, call.x, call.y, call.state.colour.r, call.state.alpha});
    EXPECT_EQ(drawn, expected);

    const std::vector<DrawCall>& frame = f.media.lastFrame;
    ASSERT_FALSE(frame.empty());
    EXPECT_EQ(frame[0].image, f.game.res.background.get());
    EXPECT_EQ(std::make_pair(frame[0].x, frame[0].y), std::make_pair(400.f, 300.f));
    const std::vector<DrawCall> canvas = f.media.drawsOf(f.game.res.canvas[0].get());
    ASSERT_EQ(canvas.size(), 1u);
    EXPECT_EQ(std::make_pair(canvas[0].x, canvas[0].y), std::make_pair(400.f, 300.f));
    EXPECT_FLOAT_EQ(canvas[0].state.alpha, 0.8f);
}

// The HUD in white along the bottom: panel, icon, the timer ending at x 780, the caption
// line, the four music buttons with the hovered one enlarged, and the pointer's tip on the
// mouse position.
TEST(Scene, TheHudAndThePointerStandWhereTheyBelong) {
    PlayFixture f;
    startLevel(f.game);
    f.media.moveMouse(0, 130, 591);  // over the third music button
    f.game.level.levelFrames = 3600 + 25 * 60;
    playFrame(f.game);
    const Resources& res = f.game.res;
    using Placed = std::tuple<int, float, float>;  // frame, x, y
    auto placed = [&](const Image* image) {
        std::vector<Placed> calls;
        for (const DrawCall& call : f.media.drawsOf(image)) calls.push_back({call.frame, call.x, call.y});
        return calls;
    };
    EXPECT_EQ(placed(res.panel.get()), (std::vector<Placed>{{0, 0, 584}}));
    EXPECT_EQ(placed(res.icon.get()), (std::vector<Placed>{{0, 0, 536}}));
    // "01:25" in 27-pixel steps ending at 780, each digit over its shadow at +2, +2.
    std::vector<Placed> digits;
    const int timer[] = {0, 1, 10, 2, 5};
    for (int i = 0; i < 5; ++i) {
        digits.push_back({timer[i], 645.0f + 27 * i + 2, 547});
        digits.push_back({timer[i], 645.0f + 27 * i, 545});
    }
    EXPECT_EQ(placed(f.game.font.bigDigits.get()), digits);
    EXPECT_EQ(placed(res.buttons.get()),
              (std::vector<Placed>{{0, 64, 584}, {1, 96, 584}, {2, 128, 584}, {3, 160, 584}, {6, 128, 584}}));
    const std::vector<DrawCall> enlarged = f.media.drawsOf(res.buttons.get());
    ASSERT_EQ(enlarged.size(), 5u);
    EXPECT_FLOAT_EQ(enlarged.back().state.scaleY, 1.2f);
    EXPECT_EQ(placed(res.pointer.get()), (std::vector<Placed>{{0, 130, 591}}));
    EXPECT_FLOAT_EQ(f.media.drawsOf(res.pointer.get()).at(0).state.scaleX, 1.0f);
    for (const DrawCall& call : f.media.lastFrame) {
        if (call.image == res.panel.get() || call.image == res.icon.get() || call.image == res.buttons.get()) {
            EXPECT_EQ(call.state.colour.b, 255);
        }
    }
}

TEST(Scene, LayersFromBackgroundThroughLightsBackdropGhostsBoardToSparkles) {
    PlayFixture f;
    startLevel(f.game);
    playFrame(f.game);  // spawns the first falling light
    f.game.effects.lights.back().scale = 1.0f;
    addRotationGhost(f.game.effects, 400, 300, 85);
    addSparkle(f.game.effects, 400, 300, 1.0f, 0.5f);
    playFrame(f.game);
    const std::vector<DrawCall>& frame = f.media.lastFrame;
    auto firstIndex = [&](auto match) {
        for (size_t i = 0; i < frame.size(); ++i)
            if (match(frame[i])) return static_cast<int>(i);
        return -1;
    };
    const Resources& res = f.game.res;
    const int background = firstIndex([&](const DrawCall& c) { return c.image == res.background.get(); });
    const int light = firstIndex([&](const DrawCall& c) { return c.image == res.lights.get(); });
    const int backdrop = firstIndex([&](const DrawCall& c) { return c.image == res.canvas[0].get(); });
    const int ghost =
        firstIndex([&](const DrawCall& c) { return c.image == res.tiles.get() && c.state.rotation != 0; });
    const int cell = firstIndex([&](const DrawCall& c) { return c.image == res.tiles.get() && c.state.rotation == 0; });
    const int sparkle = firstIndex([&](const DrawCall& c) { return c.image == res.sphere.get(); });
    const int panel = firstIndex([&](const DrawCall& c) { return c.image == res.panel.get(); });
    EXPECT_EQ(background, 0);
    EXPECT_GT(light, background);
    EXPECT_GT(backdrop, light);
    EXPECT_GT(ghost, backdrop) << "the ghost turns under the board, over its backdrop";
    EXPECT_GT(cell, ghost);
    EXPECT_GT(sparkle, cell);
    EXPECT_GT(panel, sparkle);
    EXPECT_EQ(frame[static_cast<size_t>(light)].state.blend, BlendMode::Light);
    EXPECT_EQ(frame[static_cast<size_t>(ghost)].x, 400);
    EXPECT_EQ(frame[static_cast<size_t>(sparkle)].state.blend, BlendMode::Light);
}

TEST(Scene, CleaningCursorOverAnInfectedReachedComputer) {
    PlayFixture f;
    startLevel(f.game);
    for (const CellPosition& cell : f.solution()) {
        f.clickCell(cell.column, cell.row);
        playFrame(f.game);
    }
    playFrame(f.game);
    Computer& computer = f.game.board.computers[0];
    computer.state = Infected;  // as a revealed virus leaves it
    f.media.moveMouse(f.media.framesPresented, cellCentreX(f.game.board, computer.x),
                      cellCentreY(f.game.board, computer.y));
    playFrame(f.game);                                // the floods find it reached and cleanable
    EXPECT_FALSE(f.game.level.pointerOverCleanable);  // the test sees the frame before's floods
    playFrame(f.game);
    EXPECT_TRUE(f.game.level.pointerOverCleanable);
    playFrame(f.game);
    // The cleaning cursor is centred on the pointer's position.
    EXPECT_EQ(f.media.lastFrame.back().image, f.game.res.crest.get());
    EXPECT_EQ(f.media.lastFrame.back().x, cellCentreX(f.game.board, computer.x));
    EXPECT_EQ(f.media.lastFrame.back().y, cellCentreY(f.game.board, computer.y));
    // A click cleans it and does not turn its output.
    const int tile = f.game.board.tile[computer.x][computer.y];
    const int points = f.game.progress.rankPoints;
    f.clickCell(computer.x, computer.y);
    playFrame(f.game);
    EXPECT_EQ(f.game.board.tile[computer.x][computer.y], tile);
    EXPECT_EQ(computer.state, NotConnected);
    EXPECT_EQ(f.game.progress.rankPoints, points + 5);
    // The cleaning sparkles at the computer's cell centre, full and small, from the next frame.
    const int cx = cellCentreX(f.game.board, computer.x), cy = cellCentreY(f.game.board, computer.y);
    f.game.effects.sparkles.erase(f.game.effects.sparkles.begin(), f.game.effects.sparkles.end() - 1);
    const Sparkle& sparkle = f.game.effects.sparkles.back();
    EXPECT_EQ(sparkle.x, cx);
    EXPECT_EQ(sparkle.y, cy);
    EXPECT_FLOAT_EQ(sparkle.alpha, 1.0f);
    EXPECT_FLOAT_EQ(sparkle.scale, 0.5f);
    playFrame(f.game);
    const std::vector<DrawCall> drawn = f.media.drawsOf(f.game.res.sphere.get());
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].x, cx);
    EXPECT_EQ(drawn[0].y, cy);
    EXPECT_FLOAT_EQ(drawn[0].state.alpha, 1.0f);
}

TEST(Scene, AnInfectedComputerCutOffFromTheServerKeepsTheNormalPointerAndTurnsOnAClick) {
    PlayFixture f;
    startLevel(f.game);
    Board& board = f.game.board;
    board.tile[board.serverX][board.serverY] = 92;  // both Server outputs face the board's edge
    board.tile[board.serverX][board.serverY + 1] = 92;
    Computer& computer = board.computers.at(0);
    computer.state = Infected;
    f.media.moveMouse(f.media.framesPresented, cellCentreX(board, computer.x), cellCentreY(board, computer.y));
    f.runFrames(3);
    EXPECT_FALSE(f.game.level.pointerOverCleanable);
    EXPECT_EQ(f.media.lastFrame.back().image, f.game.res.pointer.get());
    const int tile = board.tile[computer.x][computer.y];
    const int points = f.game.progress.rankPoints;
    f.clickCell(computer.x, computer.y);
    playFrame(f.game);
    EXPECT_NE(board.tile[computer.x][computer.y], tile);  // its output turns instead
    EXPECT_EQ(computer.state, Infected);
    EXPECT_EQ(f.game.progress.rankPoints, points);
}
