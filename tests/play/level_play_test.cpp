#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "play/scene.h"
#include "play_fixture.h"

namespace {

// Starts level 0 and returns its solving clicks (at least one, or the test is meaningless).
std::vector<CellPosition> startFirstLevel(PlayFixture& f) {
    startLevel(f.game);
    std::vector<CellPosition> clicks = f.solution();
    EXPECT_FALSE(clicks.empty());
    return clicks;
}

// Plays the clicks one per frame; returns with the frame of the last click just run.
void playClicks(PlayFixture& f, const std::vector<CellPosition>& clicks) {
    for (const CellPosition& cell : clicks) {
        f.clickCell(cell.column, cell.row);
        playFrame(f.game);
    }
}

}  // namespace

TEST(LevelPlay, FirstLevelCaptionsNameZoneZeroLevelOne) {
    PlayFixture f;
    f.game.progress.bestTimes[0] = 100 * 60;
    for (int start = 0; start < 8; ++start) {
        startLevel(f.game);
        EXPECT_EQ(f.game.res.background->width, 4);  // the first level always shows b4
    }
    playFrame(f.game);
    const std::vector<DrawnText> texts = f.texts();
    const DrawnText* caption = findText(texts, "Zone 0/ Level 1 is started!");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->x, 400 - textWidth(f.game.font, caption->text) / 2);
    EXPECT_EQ(caption->y, 300);
    EXPECT_EQ(caption->colour.g, 255);  // white over the board that fades in
    const DrawnText* line = findText(texts, "Level:1   Zone:0   Best: 01:40   Rank: Child");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->x, 400 - textWidth(f.game.font, line->text) / 2);
    EXPECT_EQ(line->y, 585);
    EXPECT_EQ(line->colour.r, 255);
    // The board fades in from black, two steps of brightness per frame.
    const auto tiles = f.media.drawsOf(f.game.res.tiles.get());
    ASSERT_GE(tiles.size(), 2u);
    EXPECT_EQ(tiles[1].state.colour.r, 2);
    f.runFrames(59);
    EXPECT_EQ(f.media.drawsOf(f.game.res.tiles.get()).at(1).state.colour.g, 120);
    f.runFrames(248 - 59);
    EXPECT_TRUE(f.textShown("Zone 0/ Level 1 is started!"));  // phase frame 249
    playFrame(f.game);
    EXPECT_FALSE(f.textShown("Zone 0/ Level 1 is started!"));
    EXPECT_EQ(f.game.level.phase, LevelPhase::Playing);
    EXPECT_EQ(f.game.level.levelFrames, 250);
}

TEST(LevelPlay, LaterLevelsDrawTheirBackgroundAndAMissingOneStopsTheGame) {
    PlayFixture f;
    f.game.progress.levelIndex = 7;
    std::set<int> widths;  // b1 .. b6 are 1 .. 6 pixels wide
    for (int start = 0; start < 12; ++start) {
        startLevel(f.game);
        const int width = f.game.res.background->width;
        EXPECT_GE(width, 1);
        EXPECT_LE(width, 6);
        EXPECT_EQ(f.game.res.background->handleX, width * 0.5f);
        widths.insert(width);
    }
    EXPECT_GE(widths.size(), 3u) << "later levels draw their background at random";
    for (int n = 1; n <= 6; ++n) std::filesystem::remove(f.scratch.file("gfx/back/b" + std::to_string(n) + ".vvx"));
    try {
        startLevel(f.game);
        FAIL() << "a missing background must stop the game";
    } catch (const FatalError& error) {
        EXPECT_NE(std::string(error.what()).find("cannot load picture gfx/back/b"), std::string::npos);
    }
    // The message names the file of the set in use.
    f.media.setPictureScale(2);
    try {
        startLevel(f.game);
        FAIL() << "a missing background must stop the game";
    } catch (const FatalError& error) {
        EXPECT_NE(std::string(error.what()).find("cannot load picture gfx@2/back/b"), std::string::npos)
            << error.what();
    }
}

TEST(LevelPlay, ClickTurnsTheCellAndConnectionFollowsNextFrame) {
    PlayFixture f;
    const std::vector<CellPosition> clicks = startFirstLevel(f);
    f.game.res.click = fakeSound();
    playClicks(f, std::vector<CellPosition>(clicks.begin(), clicks.end() - 1));
    const CellPosition last = clicks.back();
    const int tileBefore = f.game.board.tile[last.column][last.row];
    const int channelsBefore = f.media.soundMixer().activeChannels();
    f.clickCell(last.column, last.row);
    playFrame(f.game);
    EXPECT_NE(f.game.board.tile[last.column][last.row], tileBefore);
    EXPECT_EQ(f.game.board.computers[0].state, NotConnected);  // floods ran before the click
    EXPECT_EQ(f.game.level.phase, LevelPhase::Starting);
    EXPECT_EQ(f.media.soundMixer().activeChannels(), channelsBefore + 1);
    ASSERT_EQ(f.game.effects.ghosts.size(), clicks.size());
    EXPECT_EQ(f.game.effects.ghosts.back().tile, tileBefore);
    playFrame(f.game);
    EXPECT_EQ(f.game.board.computers[0].state, Connected);
    EXPECT_EQ(f.game.level.phase, LevelPhase::Completed);  // solved during the start caption
    EXPECT_EQ(f.game.level.phaseFrames, 0);
    // The ghost of the old tile shows, turned, from the frame after the click.
    bool ghostDrawn = false;
    for (const DrawCall& call : f.media.drawsOf(f.game.res.tiles.get()))
        ghostDrawn |= call.frame == tileBefore && call.state.rotation > 9.0f;
    EXPECT_TRUE(ghostDrawn);
}

// The smallest board covers x 304..495 and y 180..419 in cells of 48 pixels: a click on a
// cell's first or last pixel turns that cell (its ghost appears at the cell's centre), one
// pixel beyond it turns the neighbour, and one off the board turns nothing.
TEST(LevelPlay, AClickTurnsTheCellUnderItOutToItsEdgesAndNothingOffTheBoard) {
    PlayFixture f;
    startLevel(f.game);
    auto turnedAt = [&](int x, int y) -> std::pair<int, int> {
        f.game.effects.ghosts.clear();
        f.media.moveMouse(f.media.framesPresented, x, y);
        f.media.click(f.media.framesPresented);
        f.runFrames(2);
        if (f.game.effects.ghosts.empty()) return {-1, -1};
        return {(f.game.effects.ghosts[0].x - 328) / 48, (f.game.effects.ghosts[0].y - 204) / 48};
    };
    const std::vector<std::tuple<int, int, std::pair<int, int>>> clicks = {
        {304, 180, {0, 0}}, {303, 190, {-1, -1}}, {310, 179, {-1, -1}}, {351, 227, {0, 0}},  {352, 227, {1, 0}},
        {351, 228, {0, 1}}, {495, 419, {3, 4}},   {496, 410, {-1, -1}}, {490, 420, {-1, -1}}};
    for (const auto& [x, y, cell] : clicks) EXPECT_EQ(turnedAt(x, y), cell) << x << "," << y;
}

// A game pad's d-pad steps from the centre of one cell of the board in play to the next, and
// from anywhere in a cell to the centre of its neighbour.
TEST(LevelPlay, AGamePadStepsFromCellCentreToCellCentreOfTheBoardInPlay) {
    PlayFixture f;
    startLevel(f.game);
    const Board& board = f.game.board;
    GamePad pad;
    InputState input;
    input.pointerMoved(board.originX + 3, board.originY + 45);  // in cell (0, 0), near its corner
    const auto step = [&](PadButton button) {
        pad.pressed(button, input);
        pad.released(button, input);
        pad.stepFrame({}, f.media.padGrid(), input, ScreenWidth, ScreenHeight);
        return std::pair{input.pointerX, input.pointerY};
    };
    EXPECT_EQ(step(PadButton::Right), std::pair(cellCentreX(board, 1), cellCentreY(board, 0)));
    EXPECT_EQ(step(PadButton::Down), std::pair(cellCentreX(board, 1), cellCentreY(board, 1)));
    EXPECT_EQ(step(PadButton::Right), std::pair(cellCentreX(board, 2), cellCentreY(board, 1)));
}

TEST(LevelPlay, TwoPressesInOneFrameMakeNoClick) {
    PlayFixture f;
    const std::vector<CellPosition> clicks = startFirstLevel(f);
    const CellPosition cell = clicks.front();
    const int tileBefore = f.game.board.tile[cell.column][cell.row];
    const int frame = f.media.framesPresented;
    f.media.moveMouse(frame, cellCentreX(f.game.board, cell.column), cellCentreY(f.game.board, cell.row));
    f.media.pressMouse(frame, MouseButton::Left);
    f.media.releaseMouse(frame, MouseButton::Left);
    f.media.pressMouse(frame, MouseButton::Left);
    playFrame(f.game);
    EXPECT_EQ(f.game.input.leftHits, 2);
    EXPECT_EQ(f.game.board.tile[cell.column][cell.row], tileBefore);
    EXPECT_TRUE(f.game.effects.ghosts.empty());
}

TEST(LevelPlay, SolvedLevelRunsItsCaptionFadesAndStartsTheNextAtFrame260) {
    PlayFixture f;
    f.game.progress.rankPoints = 140;
    f.game.res.complete = fakeSound();
    const std::vector<CellPosition> clicks = startFirstLevel(f);
    f.runFrames(300);  // finish the start caption first
    playClicks(f, clicks);
    playFrame(f.game);  // the frame after the last turn finds every computer connected
    ASSERT_EQ(f.game.level.phase, LevelPhase::Completed);
    const int completedAt = f.game.level.levelFrames;
    f.game.progress.bestTimes[0] = completedAt + 260;  // beaten by one frame at the end
    playFrame(f.game);
    EXPECT_EQ(f.game.fade.fadeTarget, 0);
    EXPECT_EQ(f.media.soundMixer().activeChannels(), 1);
    EXPECT_TRUE(f.textShown("Level Completed !"));
    EXPECT_TRUE(f.textShown("You have established the best time !"));
    f.runFrames(248);
    EXPECT_TRUE(f.textShown("Level Completed !"));  // phase frame 249
    EXPECT_LT(f.game.fade.brightness, 10);
    playFrame(f.game);
    EXPECT_FALSE(f.textShown("Level Completed !"));
    // The HUD stays white while the board has gone black.
    EXPECT_EQ(f.media.drawsOf(f.game.res.panel.get()).at(0).state.colour.r, 255);
    f.runFrames(9);  // phase frame 259: still the old level
    EXPECT_EQ(f.game.progress.levelIndex, 0);
    const int presented = f.media.framesPresented;
    playFrame(f.game);  // phase frame 260: the level ends at once, nothing is shown
    EXPECT_EQ(f.media.framesPresented, presented);
    EXPECT_EQ(f.game.progress.levelIndex, 1);
    EXPECT_EQ(f.game.progress.bestTimes[0], completedAt + 259);
    EXPECT_EQ(f.game.progress.rankPoints, 190);
    EXPECT_EQ(f.game.level.phase, LevelPhase::Starting);
    EXPECT_EQ(f.game.fade.fadeTarget, 255);
    EXPECT_FALSE(std::filesystem::exists(f.scratch.file("oldgame.cwm")));
    f.game.progress.carriedValue = 7;
    playFrame(f.game);  // the next level's first frame raises the rank, then saves
    EXPECT_EQ(f.game.progress.rankIndex, 1);
    EXPECT_EQ(f.game.progress.rankPoints, 0);
    EXPECT_TRUE(f.textShown("Zone 0/ Level 2 is started!"));
    // What leaving play would write now: a crash from here on loses at most this level.
    EXPECT_EQ(readBytes(f.scratch.file("oldgame.cwm")), littleEndian({1, 1, 2, 7}));
    std::vector<int32_t> records(RecordCount, 10 * 3600);
    records[0] = completedAt + 259;
    EXPECT_EQ(readBytes(f.scratch.file("oldgame.cws")), littleEndian(records));
    std::filesystem::remove(f.scratch.file("oldgame.cwm"));
    f.runFrames(100);
    EXPECT_FALSE(std::filesystem::exists(f.scratch.file("oldgame.cwm"))) << "saved once, not every frame";
}

// Five levels to a zone, both counted from the start caption's level index.
TEST(LevelPlay, TheStartCaptionCountsZonesInFivesAndLevelsFromOne) {
    PlayFixture f;
    const std::pair<int, const char*> captions[] = {
        {4, "Zone 0/ Level 5 is started!"}, {5, "Zone 1/ Level 1 is started!"}, {77, "Zone 15/ Level 3 is started!"}};
    for (const auto& [levelIndex, caption] : captions) {
        f.game.progress.levelIndex = levelIndex;
        startLevel(f.game);
        playFrame(f.game);
        EXPECT_TRUE(f.textShown(caption)) << caption;
    }
}

TEST(LevelPlay, ASlowerTimeNeverReplacesTheBest) {
    PlayFixture f;
    const std::vector<CellPosition> clicks = startFirstLevel(f);
    playClicks(f, clicks);
    playFrame(f.game);
    ASSERT_EQ(f.game.level.phase, LevelPhase::Completed);
    const int finalTime = f.game.level.levelFrames + 259;
    f.game.progress.bestTimes[0] = finalTime - 1;  // one frame faster than this run
    f.runUntil([&] { return f.game.progress.levelIndex == 1; });
    EXPECT_EQ(f.game.progress.bestTimes[0], finalTime - 1);
    EXPECT_EQ(f.game.progress.rankPoints, 50);
}

TEST(LevelPlay, TheBestTimeLineShowsOnlyWhileTheRunningTimeIsBelowTheBest) {
    PlayFixture f;
    const std::vector<CellPosition> clicks = startFirstLevel(f);
    playClicks(f, clicks);
    playFrame(f.game);
    ASSERT_EQ(f.game.level.phase, LevelPhase::Completed);
    // Caption frame k is drawn at level time completedAt + k - 1.
    const int completedAt = f.game.level.levelFrames;
    f.game.progress.bestTimes[0] = completedAt + 49;
    f.runFrames(49);
    const std::vector<DrawnText> texts = f.texts();
    const DrawnText* best = findText(texts, "You have established the best time !");
    ASSERT_NE(best, nullptr);
    EXPECT_EQ(best->x, 400 - textWidth(f.game.font, best->text) / 2);
    EXPECT_EQ(best->y, 310);
    EXPECT_EQ(best->colour.r, 200);
    EXPECT_EQ(best->colour.g, 200);
    EXPECT_EQ(best->colour.b, 255);
    const DrawnText* completed = findText(texts, "Level Completed !");
    ASSERT_NE(completed, nullptr);
    EXPECT_EQ(completed->x, 400 - textWidth(f.game.font, completed->text) / 2);
    EXPECT_EQ(completed->y, 290);
    EXPECT_EQ(completed->colour.r, 255);
    EXPECT_EQ(completed->colour.b, 255);
    playFrame(f.game);  // drawn at the best time itself: no longer better
    EXPECT_FALSE(f.textShown("You have established the best time !"));
    EXPECT_TRUE(f.textShown("Level Completed !"));
}

TEST(LevelPlay, LevelWithoutComputersCompletesOnItsFirstFrame) {
    PlayFixture f;
    f.game.progress.levelIndex = 2;
    startLevel(f.game);
    playFrame(f.game);
    EXPECT_EQ(f.game.level.phase, LevelPhase::Completed);
    EXPECT_EQ(f.game.level.levelFrames, 1);
}

TEST(LevelPlay, AfterTheLastLevelPlayGoesRoundToTheFirst) {
    PlayFixture f;
    f.game.progress.levelIndex = 77;
    f.game.progress.rankPoints = 20;
    startLevel(f.game);
    f.game.level.levelFrames = 999;
    finishLevel(f.game.progress, f.game.level.levelFrames);
    EXPECT_EQ(f.game.progress.levelIndex, 0);
    EXPECT_EQ(f.game.progress.bestTimes[77], 999);
    EXPECT_EQ(f.game.progress.rankPoints, 70);
    // A saved level past the map data is brought back to the first too (its caption has no
    // best time to show before that).
    f.game.progress.levelIndex = 78;
    EXPECT_EQ(captionLine(f.game.progress), "Level:4   Zone:15   Best: 00:00   Rank: Child");
    startLevel(f.game);
    EXPECT_EQ(f.game.progress.levelIndex, 0);
    f.game.progress.rankIndex = 12;
    EXPECT_EQ(captionLine(f.game.progress), "Level:1   Zone:0   Best: 10:00   Rank: Hacker");
}

TEST(LevelPlay, EscapeDuringTheCompletionCaptionLeavesBeforeTheBestTimeIsStored) {
    PlayFixture f;
    f.game.progress.bestTimes[0] = 50000;
    f.game.progress.rankPoints = 10;
    writeBytes(f.scratch.file("tracks/.keep"), {});
    int completedFrame = -1;
    int escapeFrame = -1;
    f.media.onFrame = [&](int presented) {
        if (presented == 2) {  // the first frame of play has been shown: the board is built
            std::vector<CellPosition> clicks = f.solution();
            for (size_t i = 0; i < clicks.size(); ++i) {
                const int frame = presented + static_cast<int>(i);
                f.media.moveMouse(frame, cellCentreX(f.game.board, clicks[i].column),
                                  cellCentreY(f.game.board, clicks[i].row));
                f.media.click(frame);
            }
        }
        if (completedFrame < 0 && f.game.level.phase == LevelPhase::Completed) {
            completedFrame = presented;
            escapeFrame = presented + 30;
            f.media.pressKey(escapeFrame, Key::Escape);
        }
    };
    f.media.frameLimit = 2000;
    enterPlay(f.game);
    ASSERT_GT(completedFrame, 0);
    EXPECT_EQ(f.game.fade.brightness, 0);
    EXPECT_LT(f.media.framesPresented, completedFrame + 260);
    EXPECT_EQ(f.game.progress.levelIndex, 0);
    EXPECT_EQ(f.game.progress.bestTimes[0], 50000);
    EXPECT_EQ(f.game.progress.rankPoints, 10);
    EXPECT_EQ(f.media.keyDown(Key::Escape), 0);  // flushed for the menu
    EXPECT_EQ(readBytes(f.scratch.file("oldgame.cws")).size(), 312u);
    EXPECT_EQ(readBytes(f.scratch.file("oldgame.cwm")).size(), 16u);
}
