#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "play_fixture.h"

namespace {

template <typename Record, typename Draw>
int drawsUntilGone(PlayFixture& f, std::vector<Record>& list, const Image& picture, Draw draw) {
    int draws = 0;
    while (!list.empty() && draws < 10000) {
        f.media.clearScreen();
        draw(f.media, list, picture);
        ++draws;
    }
    return draws;
}

}  // namespace

// The fade every screen shares: two steps of brightness a frame, 128 frames each way, and
// the end reached is kept (an overshoot past it is never stepped back).
TEST(ScreenFade, TakesOneHundredAndTwentyEightFramesEachWay) {
    ScreenFade fade;
    for (const int target : {255, 0}) {
        fade.fadeTarget = target;
        int frames = 0;
        while (fade.brightness != target && frames < 1000) {
            stepFade(fade), ++frames;
            ASSERT_EQ(fade.brightness, std::clamp(target ? 2 * frames : 255 - 2 * frames, 0, 255)) << frames;
        }
        EXPECT_EQ(frames, 128);
        stepFade(fade);
        EXPECT_EQ(fade.brightness, target);
        EXPECT_EQ(fade.fadeTarget, target);
    }
}

TEST(Effects, GhostTurnsGrowsFadesAndLeavesTheDrawStateClean) {
    PlayFixture f;
    addRotationGhost(f.game.effects, 100, 200, cableTile(CornerES));
    f.media.clearScreen();
    drawRotationGhosts(f.media, f.game.effects.ghosts, *f.game.res.tiles);
    const DrawCall& first = f.media.currentDraws.at(0);
    EXPECT_EQ(first.frame, cableTile(CornerES));
    EXPECT_FLOAT_EQ(first.state.rotation, 10.0f);
    EXPECT_FLOAT_EQ(first.state.alpha, 0.5f);
    EXPECT_FLOAT_EQ(first.state.scaleX, 1.0f);
    EXPECT_EQ(first.x, 100);
    EXPECT_EQ(first.y, 200);
    EXPECT_EQ(f.media.drawState().rotation, 0.0f);
    EXPECT_EQ(f.media.drawState().scaleX, 1.0f);
    EXPECT_EQ(f.media.getBlendMode(), BlendMode::Alpha);
    f.media.clearScreen();
    drawRotationGhosts(f.media, f.game.effects.ghosts, *f.game.res.tiles);
    const DrawCall& second = f.media.currentDraws.at(0);
    EXPECT_FLOAT_EQ(second.state.scaleY, 1.01f);  // grows and turns one degree per frame
    EXPECT_FLOAT_EQ(second.state.rotation, 11.0f);
    EXPECT_FLOAT_EQ(second.state.alpha, 0.49f);
    // In single precision the half alpha runs out after 51 draws.
    EXPECT_EQ(2 + drawsUntilGone(f, f.game.effects.ghosts, *f.game.res.tiles, drawRotationGhosts), 51);
}

TEST(Effects, SparklesAndLightsAreAdditiveAndDieOut) {
    PlayFixture f;
    addSparkle(f.game.effects, 10, 20, 1.0f, 0.5f);
    f.media.clearScreen();
    drawSparkles(f.media, f.game.effects.sparkles, *f.game.res.sphere);
    EXPECT_EQ(f.media.currentDraws.at(0).state.blend, BlendMode::Light);
    EXPECT_EQ(f.media.currentDraws.at(0).x, 10);
    EXPECT_EQ(f.media.currentDraws.at(0).y, 20);
    f.media.clearScreen();
    drawSparkles(f.media, f.game.effects.sparkles, *f.game.res.sphere);
    EXPECT_FLOAT_EQ(f.media.currentDraws.at(0).state.scaleX, 0.54f);  // grows by 0.04 a frame
    EXPECT_FLOAT_EQ(f.media.currentDraws.at(0).state.alpha, 0.99f);
    EXPECT_EQ(f.media.getBlendMode(), BlendMode::Alpha);
    const int sparkleLife = 2 + drawsUntilGone(f, f.game.effects.sparkles, *f.game.res.sphere, drawSparkles);
    EXPECT_GE(sparkleLife, 100);
    EXPECT_LE(sparkleLife, 101);

    // A light hangs from its top-left corner and falls by its speed.
    f.game.effects.lights.push_back(FallingLight{37.0f, -100.0f, 0.7f, 1.0f, 2.5f, 1});
    for (const float y : {-100.0f, -97.5f}) {
        f.media.clearScreen();
        drawFallingLights(f.media, f.game.effects.lights, *f.game.res.lights);
        const DrawCall& light = f.media.currentDraws.at(0);
        EXPECT_EQ(std::make_tuple(light.frame, light.x, light.y), std::make_tuple(1, 37.0f, y));
        EXPECT_EQ(light.state.blend, BlendMode::Light);
    }
    f.game.effects.lights.clear();
    for (int i = 0; i < 200; ++i) addFallingLight(f.game.effects, f.media);
    std::set<int> frames;
    std::set<float> scales, speeds, xs;
    for (const FallingLight& light : f.game.effects.lights) {
        frames.insert(light.frame), scales.insert(light.scale), speeds.insert(light.speed), xs.insert(light.x);
        EXPECT_EQ(light.y, -100.0f);
    }
    EXPECT_EQ(frames, (std::set<int>{0, 1})) << "both pictures of a light fall";
    EXPECT_EQ(scales, (std::set<float>{0.0f, 1.0f})) << "scale 5..15 tenths, cut to whole numbers";
    // Some drift, some rush: 1.0 to 3.0 pixels a frame in tenths, from anywhere across the screen.
    EXPECT_EQ(speeds.size(), 21u);
    EXPECT_FLOAT_EQ(*speeds.begin(), 1.0f);
    EXPECT_FLOAT_EQ(*speeds.rbegin(), 3.0f);
    EXPECT_GE(*xs.begin(), 1.0f);
    EXPECT_LE(*xs.rbegin(), 800.0f);
    EXPECT_GT(xs.size(), 150u);
    const int lightLife = drawsUntilGone(f, f.game.effects.lights, *f.game.res.lights, drawFallingLights);
    EXPECT_GE(lightLife, 349);
    EXPECT_LE(lightLife, 351);
}

TEST(Effects, MenuParticlesTakeTheirColourAndGiveBackTheFadeColour) {
    PlayFixture f;
    f.game.fade.brightness = 77;
    addMenuParticle(f.game.effects, f.media);
    const MenuParticle particle = f.game.effects.particles.at(0);
    f.media.clearScreen();
    drawMenuParticles(f.media, f.game.effects.particles, *f.game.res.particle, f.game.fade);
    EXPECT_EQ(std::make_pair(f.media.currentDraws.at(0).x, f.media.currentDraws.at(0).y),
              std::make_pair(particle.x, particle.y));
    EXPECT_EQ(f.media.currentDraws.at(0).state.colour.r, particle.red);
    EXPECT_EQ(f.media.currentDraws.at(0).state.colour.g, 255);
    EXPECT_EQ(f.media.currentDraws.at(0).state.colour.b, particle.blue);
    EXPECT_EQ(f.media.getDrawColour().r, 77);
    EXPECT_FLOAT_EQ(f.game.effects.particles.at(0).y, particle.y + particle.speed);
    EXPECT_EQ(f.media.currentDraws.at(0).state.blend, BlendMode::Light);
    EXPECT_FLOAT_EQ(f.media.currentDraws.at(0).state.scaleX, particle.scale);
    f.media.clearScreen();
    drawMenuParticles(f.media, f.game.effects.particles, *f.game.res.particle, f.game.fade);
    EXPECT_FLOAT_EQ(f.media.currentDraws.at(0).state.scaleX, particle.scale + 0.01f);  // grows as it falls
    EXPECT_FLOAT_EQ(f.media.currentDraws.at(0).state.alpha, 0.99f);
    EXPECT_FLOAT_EQ(f.media.currentDraws.at(0).y, particle.y + particle.speed);
}

// The next level starts on a new board: the old board's rotation ghosts go with it, while
// the sparkles of a last-moment cleaning and the falling lights fade and fall on into it.
TEST(Effects, ALevelChangeDropsTheGhostsWhileSparklesAndLightsGoOnIntoTheNextLevel) {
    PlayFixture f;
    startLevel(f.game);
    for (const CellPosition& cell : f.solution()) {
        f.clickCell(cell.column, cell.row);
        playFrame(f.game);
    }
    f.runUntil([&] { return f.game.level.phase == LevelPhase::Completed && f.game.level.phaseFrames == 255; });
    f.clickCell(1, 0);  // a turn during the caption leaves a ghost
    playFrame(f.game);
    addSparkle(f.game.effects, 376, 252, 1.0f, 0.5f);
    f.runFrames(3);  // up to the caption's last presented frame
    ASSERT_EQ(f.game.level.phaseFrames, 259);
    ASSERT_EQ(f.game.effects.ghosts.size(), 1u);
    const float sparkleAlpha = f.media.drawsOf(f.game.res.sphere.get()).at(0).state.alpha;
    const FallingLight light = f.game.effects.lights.back();  // born in that frame, not yet drawn
    playFrame(f.game);                                        // the caption ends: the next level is built
    ASSERT_EQ(f.game.progress.levelIndex, 1);
    EXPECT_TRUE(f.game.effects.ghosts.empty());
    playFrame(f.game);  // the new level's first frame (one more step of every effect went unseen)
    for (const DrawCall& tile : f.media.drawsOf(f.game.res.tiles.get())) EXPECT_EQ(tile.state.rotation, 0.0f);
    const std::vector<DrawCall> sparkles = f.media.drawsOf(f.game.res.sphere.get());
    ASSERT_EQ(sparkles.size(), 1u);
    EXPECT_EQ(std::make_pair(sparkles[0].x, sparkles[0].y), std::make_pair(376.f, 252.f));
    EXPECT_NEAR(sparkles[0].state.alpha, sparkleAlpha - 0.02f, 1e-5);
    const std::vector<DrawCall> lights = f.media.drawsOf(f.game.res.lights.get());
    EXPECT_TRUE(std::any_of(lights.begin(), lights.end(), [&](const DrawCall& call) {
        return call.x == light.x && call.y == light.y + light.speed && call.frame == light.frame;
    })) << "the light born at the old level's end falls on";
}

TEST(ComputerAnimations, TableRowsAndConnectedLoop) {
    const AnimationTable table = buildAnimationTable();
    // The connected loop passes through the off-screen picture half-way and at its end.
    EXPECT_EQ(table[6][29], 0);
    EXPECT_EQ(table[6][59], 0);
    EXPECT_EQ(table[1][20], 9);

    ScriptedMedia media;
    Board board;
    board.computers.resize(2);
    board.computers[0].state = Connected;
    board.computers[1].state = Infected;
    stepComputerAnimations(board, table, media);
    EXPECT_EQ(board.computers[0].animId, 6);
    EXPECT_EQ(board.computers[0].animTicksLeft, 200);
    EXPECT_EQ(board.computers[1].animTicksLeft, 0);
    stepComputerAnimations(board, table, media);
    EXPECT_EQ(board.computers[0].animFrame, 22);  // the loop opens on its first entry
    for (int i = 0; i < 4; ++i) stepComputerAnimations(board, table, media);
    EXPECT_EQ(board.computers[0].animFrame, 23);  // positions 0 to 0.9 show entry 0, 1.2 entry 1
    EXPECT_EQ(board.computers[0].animTicksLeft, 195);
    EXPECT_EQ(board.computers[1].animFrame, 0);
}

TEST(ComputerAnimations, ADisconnectedComputerStartsAnIdleRowOnlyOnADrawOf26) {
    // The generator replayed beside the game: every frame draws 0..100 for the computer; on 26,
    // with no animation running, a second draw picks the row (3 and 5 need a third draw).
    const AnimationTable table = buildAnimationTable();
    ScriptedMedia media, replay;
    media.seedRandom(2024);
    replay.seedRandom(2024);
    Board board;
    board.computers.resize(1);
    const Computer& computer = board.computers[0];
    int started = 0;
    for (int frame = 0; frame < 6000; ++frame) {
        const bool idle = computer.animTicksLeft <= 1;  // after this frame's tick
        int expectedRow = -1, expectedTicks = 0;
        if (replay.randomInt(0, 100) == 26 && idle) {
            const int pick = replay.randomInt(0, 6);
            if (pick <= 2) expectedRow = pick + 1, expectedTicks = pick == 2 ? 80 : 100;
            if (pick == 3 && replay.randomInt(0, 2) == 1) expectedRow = 4, expectedTicks = 80;
            if (pick == 5 && replay.randomInt(0, 5) == 3) expectedRow = 5, expectedTicks = 100;
        }
        stepComputerAnimations(board, table, media);
        if (expectedRow >= 0) {
            EXPECT_EQ(computer.animId, expectedRow) << "frame " << frame;
            EXPECT_EQ(computer.animTicksLeft, expectedTicks) << "frame " << frame;
            ++started;
        } else if (idle) {
            EXPECT_EQ(computer.animTicksLeft, 0) << "frame " << frame;
        }
    }
    EXPECT_GE(started, 10);
}

TEST(ComputerAnimations, TheScreensPlayThePicturesDrawnForThem) {
    const AnimationTable table = buildAnimationTable();
    auto row = [&](int id, int count) { return std::vector<int>(table[id].begin(), table[id].begin() + count); };
    EXPECT_EQ(row(0, 11), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
    EXPECT_EQ(row(3, 26), (std::vector<int>{30, 31, 32, 33, 34, 35, 36, 36, 36, 36, 36, 36, 36,
                                            36, 36, 36, 36, 36, 36, 35, 34, 33, 32, 31, 30, 0}));
    EXPECT_EQ(row(4, 24), (std::vector<int>{38, 37, 36, 37, 38, 39, 38, 37, 36, 37, 38, 39,
                                            38, 37, 36, 37, 38, 39, 38, 37, 36, 37, 38, 0}));
    for (int id : {1, 2, 5}) {
        const int first = id == 1 ? 0 : id == 2 ? 10 : 20;  // up, hold the last picture, back down
        std::vector<int> expected;
        for (int i = 0; i < 10; ++i) expected.push_back(first + i);
        for (int i = 0; i < 11; ++i) expected.push_back(first + 9);
        for (int i = 8; i >= 0; --i) expected.push_back(first + i);
        expected.push_back(0);
        EXPECT_EQ(row(id, 31), expected) << "row " << id;
    }
    EXPECT_EQ(row(6, 60),
              (std::vector<int>{22, 23, 24, 25, 26, 27, 28, 29, 29, 28, 27, 26, 25, 24, 23, 24, 25, 26, 27, 28,
                                29, 29, 28, 27, 26, 25, 24, 23, 22, 0,  32, 33, 34, 35, 36, 37, 38, 39, 39, 38,
                                37, 36, 35, 34, 33, 34, 35, 36, 37, 38, 39, 39, 38, 37, 36, 35, 34, 33, 32, 0}));
    for (int id = 7; id < 10; ++id) EXPECT_EQ(row(id, 65), std::vector<int>(65, 0)) << "row " << id;
}
