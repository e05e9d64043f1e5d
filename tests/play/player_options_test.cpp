// The options of play: turning back, locks, the lit network, undo and restart, the summary.
// With every option off, a right or middle press changes nothing.

#include <gtest/gtest.h>

#include "play/board_tools.h"
#include "play/level_summary.h"
#include "play/lit_network.h"
#include "play/scene.h"
#include "play_fixture.h"

namespace {

// Level 0 of the test map, its pieces laid so the computer is connected: the Server's top
// half east into a straight at (1,0), a corner at (2,0) turning south to the computer at (2,1).
void connectFirstLevel(PlayFixture& f) {
    startLevel(f.game);
    Board& board = f.game.board;
    board.tile[0][0] = cableTile(EndE);
    board.tile[1][0] = cableTile(StraightEW);
    board.tile[2][0] = cableTile(CornerSW);
    board.tile[2][1] = cableTile(EndN);
    startBoardTools(f.game.level.tools, board);
}

void pressCell(PlayFixture& f, int column, int row, MouseButton button) {
    const int frame = f.media.framesPresented;
    f.media.moveMouse(frame, cellCentreX(f.game.board, column), cellCentreY(f.game.board, row));
    f.media.click(frame, button);
}

// The cells drawn lit in the last frame: tile pictures added in light at the cell centres.
std::vector<std::pair<int, int>> litCellsDrawn(const PlayFixture& f) {
    std::vector<std::pair<int, int>> cells;
    for (const DrawCall& call : f.media.drawsOf(f.game.res.tiles.get()))
        if (call.state.blend == BlendMode::Light)
            cells.push_back({(static_cast<int>(call.x) - f.game.board.originX) / CellSize,
                             (static_cast<int>(call.y) - f.game.board.originY) / CellSize});
    return cells;
}

// The rotation of every ghost drawn in the last frame, oldest first: the only turned tiles.
std::vector<float> ghostAngles(const PlayFixture& f) {
    std::vector<float> angles;
    for (const DrawCall& call : f.media.drawsOf(f.game.res.tiles.get()))
        if (call.state.rotation != 0.0f) angles.push_back(call.state.rotation);
    return angles;
}

struct NoEvents : BoardEvents {
    void rotationGhost(int, int, int) override {}
    void sparkle(int, int, float, float) override {}
    void sound(BoardSound) override {}
};

}  // namespace

TEST(PlayOptions, WithEveryOptionOffRightAndMiddlePressesChangeNothing) {
    PlayFixture f;
    connectFirstLevel(f);
    f.runFrames(2);
    const Board before = f.game.board;
    for (const MouseButton button : {MouseButton::Right, MouseButton::Middle}) {
        pressCell(f, 2, 0, button);
        f.runFrames(2);
    }
    EXPECT_EQ(f.game.board.tile, before.tile);
    EXPECT_TRUE(f.game.effects.ghosts.empty());
    EXPECT_TRUE(litCellsDrawn(f).empty());
    EXPECT_TRUE(f.media.drawsOf(f.game.res.padlock.get()).empty());
    EXPECT_TRUE(f.media.drawsOf(f.game.res.toolButtons.get()).empty());
    // Nor does the undo button's place take a click.
    f.media.moveMouse(f.media.framesPresented, UndoButtonX, ToolButtonY);
    f.media.click(f.media.framesPresented);
    f.runFrames(2);
    EXPECT_EQ(f.game.board.tile, before.tile);
}

TEST(PlayOptions, ARightClickTurnsBackAsThreeLeftClicksWouldWithItsGhostTurningTheOtherWay) {
    PlayFixture lefts, right;
    for (PlayFixture* f : {&lefts, &right}) connectFirstLevel(*f);
    right.game.settings.rightButton = RightButtonUse::TurnBack;
    for (int i = 0; i < 3; ++i) {
        lefts.clickCell(2, 0);
        lefts.runFrames(1);
    }
    pressCell(right, 2, 0, MouseButton::Right);
    right.runFrames(1);
    EXPECT_EQ(right.game.board.tile, lefts.game.board.tile);
    EXPECT_EQ(right.game.board.tile[2][0], cableTile(CornerES));
    right.runFrames(1);
    lefts.runFrames(1);
    EXPECT_EQ(right.game.board.computers[0].reached, lefts.game.board.computers[0].reached);
    EXPECT_FALSE(right.game.board.computers[0].reached) << "the turn breaks the link";
    // The ghost as first drawn, the frame after the turn: turned back by 10 degrees where a
    // left click's is turned forward by as much.
    ASSERT_EQ(ghostAngles(right).size(), 1u);
    EXPECT_NEAR(ghostAngles(right)[0], -10.0f, 1e-3);
    ASSERT_EQ(ghostAngles(lefts).size(), 3u);
    EXPECT_NEAR(ghostAngles(lefts).back(), 10.0f, 1e-3);
}

TEST(PlayOptions, ARightClickOnAnInfectedConnectedComputerCleansNothing) {
    PlayFixture f;
    connectFirstLevel(f);
    f.game.settings.rightButton = RightButtonUse::TurnBack;
    f.game.board.computers[0].hasVirus = true;
    f.runFrames(3);
    ASSERT_TRUE(f.game.board.computers[0].cleanable);
    const int points = f.game.progress.rankPoints;
    pressCell(f, 2, 1, MouseButton::Right);
    f.runFrames(1);
    EXPECT_EQ(f.game.board.computers[0].state, Infected);
    EXPECT_EQ(f.game.board.tile[2][1], cableTile(EndN));
    EXPECT_EQ(f.game.progress.rankPoints, points);
}

TEST(PlayOptions, ALockedPieceIgnoresEveryTurnAndLocksGoWithTheServerTheLevelAndRestart) {
    PlayFixture f;
    connectFirstLevel(f);
    f.game.settings.rightButton = RightButtonUse::TurnBack;
    f.game.settings.middleButton = MiddleButtonUse::Lock;
    pressCell(f, 1, 0, MouseButton::Middle);
    f.runFrames(1);
    ASSERT_TRUE(f.game.level.tools.locked[1][0]);
    f.clickCell(1, 0);
    f.runFrames(1);
    pressCell(f, 1, 0, MouseButton::Right);
    f.runFrames(1);
    EXPECT_EQ(f.game.board.tile[1][0], cableTile(StraightEW));
    EXPECT_TRUE(f.game.effects.ghosts.empty()) << "no turn, no ghost";
    // Drawn dimmed, with the padlock inside the cell's lower right corner.
    const int x = cellCentreX(f.game.board, 1), y = cellCentreY(f.game.board, 0);
    const auto padlocks = f.media.drawsOf(f.game.res.padlock.get());
    ASSERT_EQ(padlocks.size(), 1u);
    EXPECT_EQ(std::make_pair(padlocks[0].x, padlocks[0].y), std::make_pair(float(x + 14), float(y + 14)));
    EXPECT_LE(padlocks[0].x + 8, x + 24) << "inside the cell";
    bool dimmed = false;
    for (const DrawCall& call : f.media.lastFrame)
        if (call.kind == DrawCall::Kind::Rect && call.x == x - 24 && call.y == y - 24 && call.width == 48 &&
            call.height == 48 && call.state.colour.r == 0 && call.state.alpha > 0.2f)
            dimmed = true;
    EXPECT_TRUE(dimmed);
    // Another lock, then the Server clears every lock.
    pressCell(f, 2, 0, MouseButton::Middle);
    f.runFrames(1);
    pressCell(f, 0, 1, MouseButton::Middle);
    f.runFrames(1);
    EXPECT_EQ(f.game.level.tools.locked, CellFlags{});
    // Gone at restart and at the next level.
    pressCell(f, 1, 0, MouseButton::Middle);
    f.runFrames(1);
    NoEvents events;
    restartBoard(f.game.board, f.game.level.tools, events);
    EXPECT_EQ(f.game.level.tools.locked, CellFlags{});
    pressCell(f, 1, 0, MouseButton::Middle);
    f.runFrames(1);
    ASSERT_TRUE(f.game.level.tools.locked[1][0]);
    startLevel(f.game);
    EXPECT_EQ(f.game.level.tools.locked, CellFlags{});
}

TEST(PlayOptions, TheLitNetworkFollowsTheFloodAndACutBranchGoesDarkInTheFrameThatShowsTheCut) {
    PlayFixture f;
    connectFirstLevel(f);
    f.game.settings.litNetwork = true;
    f.runFrames(1);
    const std::vector<std::pair<int, int>> whole = {{0, 0}, {0, 1}, {1, 0}, {2, 0}, {2, 1}};
    EXPECT_EQ(litCellsDrawn(f), whole);
    EXPECT_EQ(carriedNow(f.game.board, f.game.tables.connectors), f.game.board.carried);
    // The lit copy is added over its piece in the connected screens' green, fading with the screen.
    for (const DrawCall& call : f.media.drawsOf(f.game.res.tiles.get()))
        if (call.state.blend == BlendMode::Light) {
            EXPECT_GT(call.state.colour.g, call.state.colour.r);
            EXPECT_LE(call.state.colour.g, f.game.fade.brightness);
        }
    f.clickCell(1, 0);
    f.runFrames(1);  // the click frame: drawn before the turn
    EXPECT_EQ(litCellsDrawn(f), whole);
    f.runFrames(1);  // the first frame showing the turned piece
    const std::vector<std::pair<int, int>> serverOnly = {{0, 0}, {0, 1}};
    EXPECT_EQ(litCellsDrawn(f), serverOnly);
}

TEST(PlayOptions, UndoTakesBackTurnsInReverseAndRestartIsTheScrambleLeavingTimeAndPointsAlone) {
    PlayFixture f;
    startLevel(f.game);
    f.game.settings.undoRestart = true;
    f.game.settings.rightButton = RightButtonUse::TurnBack;
    const Grid scramble = f.game.board.tile;
    std::vector<Grid> seen = {scramble};
    const std::vector<std::tuple<int, int, MouseButton>> turns = {
        {1, 0, MouseButton::Left}, {2, 0, MouseButton::Right}, {2, 0, MouseButton::Left}, {0, 0, MouseButton::Right}};
    for (const auto& [column, row, button] : turns) {
        pressCell(f, column, row, button);
        f.runFrames(1);
        seen.push_back(f.game.board.tile);
    }
    f.game.progress.rankPoints = 35;
    const int time = f.game.level.levelFrames;
    for (int undo = static_cast<int>(turns.size()); undo > 0; --undo) {
        f.media.moveMouse(f.media.framesPresented, UndoButtonX, ToolButtonY);
        f.media.click(f.media.framesPresented);
        f.runFrames(1);
        EXPECT_EQ(f.game.board.tile, seen[static_cast<size_t>(undo - 1)]) << "undo " << undo;
    }
    f.media.moveMouse(f.media.framesPresented, UndoButtonX, ToolButtonY);
    f.media.click(f.media.framesPresented);
    f.runFrames(1);
    EXPECT_EQ(f.game.board.tile, scramble) << "nothing before the level's start";
    for (const auto& [column, row, button] : turns) {
        pressCell(f, column, row, button);
        f.runFrames(1);
    }
    f.media.moveMouse(f.media.framesPresented, RestartButtonX, ToolButtonY);
    f.media.click(f.media.framesPresented);
    f.runFrames(1);
    EXPECT_EQ(f.game.board.tile, scramble);
    EXPECT_EQ(f.game.progress.rankPoints, 35);
    EXPECT_EQ(f.game.level.levelFrames, time + static_cast<int>(2 * turns.size()) + 2) << "the timer runs on";
    // Drawn at their places, in the music buttons' look.
    const auto buttons = f.media.drawsOf(f.game.res.toolButtons.get());
    ASSERT_GE(buttons.size(), 2u);
    EXPECT_EQ(std::make_tuple(buttons[0].frame, buttons[0].x, buttons[0].y), std::make_tuple(0, 200.f, 584.f));
    EXPECT_EQ(std::make_tuple(buttons[1].frame, buttons[1].x, buttons[1].y), std::make_tuple(1, 232.f, 584.f));
}

TEST(PlayOptions, TheUndoAndRestartButtonsTakeThePointerOnePixelInsideAndNotOutside) {
    for (const auto& [button, centre] : {std::pair{UndoButton, 200}, {RestartButton, 232}}) {
        for (const auto& [x, y] : {std::pair{centre - 16, 584}, {centre + 15, 584}, {centre, 568}, {centre, 599}})
            EXPECT_EQ(boardToolButtonAt(x, y), button) << x << "," << y;
        for (const auto& [x, y] : {std::pair{centre, 567}, {centre, 600}})
            EXPECT_EQ(boardToolButtonAt(x, y), -1) << x << "," << y;
    }
    EXPECT_EQ(boardToolButtonAt(183, 584), -1);
    EXPECT_EQ(boardToolButtonAt(216, 584), RestartButton) << "the two buttons touch";
    EXPECT_EQ(boardToolButtonAt(248, 584), -1);
}

TEST(PlayOptions, TheSummaryGivesTimeBestPointsAndRankOnAPlate) {
    PlayFixture f;
    LevelState& level = f.game.level;
    Progress& progress = f.game.progress;
    progress.levelIndex = 3;
    level.levelFrames = 90 * 60;  // 01:30
    level.cleanings = 1;
    progress.bestTimes[3] = UnbeatenTime;
    progress.rankIndex = 2;
    progress.rankPoints = 60;
    EXPECT_EQ(summaryTimeLine(level, progress), "Time 01:30   first clear   +55 points");
    EXPECT_EQ(summaryRankLine(progress), "Rank: User, 41 points to Gamer");
    progress.bestTimes[3] = 100 * 60;
    EXPECT_EQ(summaryTimeLine(level, progress), "Time 01:30   Best 01:40, beaten   +55 points");
    progress.bestTimes[3] = 80 * 60;
    level.cleanings = 0;
    EXPECT_EQ(summaryTimeLine(level, progress), "Time 01:30   Best 01:20 stands   +50 points");
    progress.rankPoints = 101;
    EXPECT_EQ(summaryRankLine(progress), "Rank: User, rising to Gamer");
    progress.rankPoints = 100;
    EXPECT_EQ(summaryRankLine(progress), "Rank: User, 1 points to Gamer");
    progress.rankIndex = 9;
    EXPECT_EQ(summaryRankLine(progress), "Rank: Hacker, the top rank");
}

TEST(PlayOptions, TheSummaryShowsUnderTheCompletionCaptionOnlyWithTheOption) {
    for (const bool summary : {false, true}) {
        PlayFixture f;
        connectFirstLevel(f);
        f.game.settings.levelSummary = summary;
        f.game.board.tile[1][0] = cableTile(StraightNS);
        f.runFrames(1);
        f.clickCell(1, 0);
        f.runUntil([&] { return f.game.level.phase == LevelPhase::Completed; });
        f.runFrames(2);
        const std::vector<DrawnText> texts = f.texts();
        const DrawnText* line = findTextStarting(texts, "Time ");
        const DrawnText* rank = findTextStarting(texts, "Rank: Child, ");
        EXPECT_TRUE(findText(texts, "Level Completed !"));
        if (!summary) {
            EXPECT_EQ(line, nullptr);
            EXPECT_EQ(rank, nullptr);
            continue;
        }
        ASSERT_TRUE(line && rank);
        EXPECT_EQ(line->y, SummaryLineY);
        EXPECT_EQ(rank->y, SummaryRankY);
        EXPECT_EQ(line->x, 400 - textWidth(f.game.font, line->text) / 2);
        // The plate lies under the caption: drawn before it, around it.
        bool plate = false;
        for (const DrawCall& call : f.media.lastFrame)
            if (call.kind == DrawCall::Kind::Rect && call.y <= 290 && call.y + call.height >= SummaryRankY + 13)
                plate = true;
        EXPECT_TRUE(plate);
    }
}
