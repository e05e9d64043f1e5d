#include <gtest/gtest.h>

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

TEST(Scene, BoardShadowsDevicesAndHudInOrder) {
    PlayFixture f;
    startLevel(f.game);
    f.game.fade.brightness = 100;
    f.game.fade.fadeTarget = 100;
    f.game.board.computers[0].animFrame = 3;
    playFrame(f.game);
    const std::vector<DrawCall>& frame = f.media.lastFrame;
    ASSERT_FALSE(frame.empty());
    EXPECT_EQ(frame[0].image, f.game.res.background.get());
    const std::vector<DrawCall> canvas = f.media.drawsOf(f.game.res.canvas[0].get());
    ASSERT_EQ(canvas.size(), 1u);
    EXPECT_FLOAT_EQ(canvas[0].state.alpha, 0.8f);

    const std::vector<DrawCall> tiles = f.media.drawsOf(f.game.res.tiles.get());
    ASSERT_EQ(tiles.size(), 2u * (20 + 1 + 2));  // 20 cells, one computer, the Server's two halves
    const Board& board = f.game.board;
    // Cell (0, 0): black shadow at half alpha 4 pixels down-right, then the tile in the fade colour.
    EXPECT_EQ(tiles[0].frame, board.tile[0][0]);
    EXPECT_EQ(tiles[0].x, cellCentreX(board, 0) + 4);
    EXPECT_EQ(tiles[0].state.colour.r, 0);
    EXPECT_FLOAT_EQ(tiles[0].state.alpha, 0.5f);
    EXPECT_EQ(tiles[1].x, cellCentreX(board, 0));
    EXPECT_EQ(tiles[1].state.colour.r, 100);
    EXPECT_EQ(tiles[2].frame, board.tile[0][1]);  // column by column
    const DrawCall& computer = tiles[41];
    EXPECT_EQ(computer.frame, board.computers[0].state * ComputerFramesPerState + 3);
    EXPECT_FLOAT_EQ(tiles[40].state.alpha, 0.4f);
    EXPECT_EQ(tiles[43].frame, ServerTopTile);
    EXPECT_EQ(tiles[45].frame, ServerBottomTile);
    EXPECT_EQ(tiles[45].y, cellCentreY(board, board.serverY + 1));

    const std::vector<DrawCall> panel = f.media.drawsOf(f.game.res.panel.get());
    ASSERT_EQ(panel.size(), 1u);
    EXPECT_EQ(panel[0].state.colour.g, 255);
    EXPECT_EQ(panel[0].y, 584);
    EXPECT_EQ(f.media.drawsOf(f.game.res.icon.get()).at(0).y, 536);
    const std::vector<DrawCall> digits = f.media.drawsOf(f.game.font.bigDigits.get());
    ASSERT_EQ(digits.size(), 10u);
    EXPECT_EQ(digits[1].x, 645);
    EXPECT_EQ(digits[1].y, 545);
    EXPECT_EQ(frame.back().image, f.game.res.pointer.get());
    EXPECT_EQ(frame.back().state.colour.b, 255);
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
    EXPECT_EQ(f.media.lastFrame.back().image, f.game.res.crest.get());
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
