#include <gtest/gtest.h>

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

TEST(Effects, GhostTurnsGrowsFadesAndLeavesTheDrawStateClean) {
    PlayFixture f;
    addRotationGhost(f.game.effects, 100, 200, cableTile(CornerES));
    f.media.clearScreen();
    drawRotationGhosts(f.media, f.game.effects.ghosts, *f.game.res.tiles);
    const DrawCall& first = f.media.currentDraws.at(0);
    EXPECT_EQ(first.frame, cableTile(CornerES));
    EXPECT_FLOAT_EQ(first.state.rotation, 10.0f);
    EXPECT_FLOAT_EQ(first.state.alpha, 0.5f);
    EXPECT_EQ(f.media.drawState().rotation, 0.0f);
    EXPECT_EQ(f.media.drawState().scaleX, 1.0f);
    EXPECT_EQ(f.media.getBlendMode(), BlendMode::Alpha);
    // In single precision the half alpha runs out after 51 draws.
    EXPECT_EQ(1 + drawsUntilGone(f, f.game.effects.ghosts, *f.game.res.tiles, drawRotationGhosts), 51);
}

TEST(Effects, SparklesAndLightsAreAdditiveAndDieOut) {
    PlayFixture f;
    addSparkle(f.game.effects, 10, 20, 1.0f, 0.5f);
    f.media.clearScreen();
    drawSparkles(f.media, f.game.effects.sparkles, *f.game.res.sphere);
    EXPECT_EQ(f.media.currentDraws.at(0).state.blend, BlendMode::Light);
    EXPECT_EQ(f.media.getBlendMode(), BlendMode::Alpha);
    const int sparkleLife = 1 + drawsUntilGone(f, f.game.effects.sparkles, *f.game.res.sphere, drawSparkles);
    EXPECT_GE(sparkleLife, 100);
    EXPECT_LE(sparkleLife, 101);

    for (int i = 0; i < 200; ++i) addFallingLight(f.game.effects, f.media);
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
    EXPECT_EQ(f.media.currentDraws.at(0).state.colour.r, particle.red);
    EXPECT_EQ(f.media.getDrawColour().r, 77);
    EXPECT_FLOAT_EQ(f.game.effects.particles.at(0).y, particle.y + particle.speed);
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
    for (int i = 0; i < 5; ++i) stepComputerAnimations(board, table, media);
    EXPECT_EQ(board.computers[0].animFrame, 23);  // positions 0 to 0.9 show entry 0, 1.2 entry 1
    EXPECT_EQ(board.computers[0].animTicksLeft, 195);
    EXPECT_EQ(board.computers[1].animFrame, 0);
}
