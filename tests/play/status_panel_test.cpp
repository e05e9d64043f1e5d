#include <gtest/gtest.h>

#include <tuple>

#include "play/status_panel.h"
#include "play_fixture.h"

namespace {

// A short 44100 Hz 16-bit mono WAV file.
std::vector<uint8_t> shortWav() {
    std::vector<uint8_t> bytes = {'R',  'I', 'F', 'F', 0,  0, 0,   0,   'W', 'A',  'V',  'E', 'f', 'm',  't',
                                  ' ',  16,  0,   0,   0,  1, 0,   1,   0,   0x44, 0xAC, 0,   0,   0x88, 0x58,
                                  0x01, 0,   2,   0,   16, 0, 'd', 'a', 't', 'a',  200,  0,   0,   0};
    bytes.resize(bytes.size() + 200, 7);
    return bytes;
}

// Clicks the music button whose centre is at x in the next frame of play.
void clickButton(PlayFixture& f, int x) {
    f.media.moveMouse(f.media.framesPresented, x, 584);
    f.media.click(f.media.framesPresented);
    playFrame(f.game);
}

}  // namespace

TEST(StatusPanel, PreviousAndNextButtonsStepThroughTheTracksBothWays) {
    PlayFixture f;
    for (const char* name : {"a.wav", "b.wav", "c.wav"})
        writeBytes(f.scratch.file(std::string("tracks/") + name), shortWav());
    buildTrackList(f.game.music, f.media);
    ASSERT_EQ(f.game.music.trackCount, 3);
    startMusic(f.game.music, f.media);
    startLevel(f.game);
    clickButton(f, 64);  // previous, from the first track round to the last
    EXPECT_EQ(f.game.music.currentTrack, 2);
    clickButton(f, 64);
    EXPECT_EQ(f.game.music.currentTrack, 1);
    clickButton(f, 128);  // next
    EXPECT_EQ(f.game.music.currentTrack, 2);
    clickButton(f, 128);
    EXPECT_EQ(f.game.music.currentTrack, 0);
    EXPECT_EQ(f.media.soundMixer().activeChannels(), 1);  // each switch stops the track before
    clickButton(f, 160);                                  // stop: the track fades out but keeps running
    EXPECT_EQ(f.game.music.musicTarget, 0.0f);
    clickButton(f, 96);  // play
    EXPECT_EQ(f.game.music.musicTarget, 1.0f);
    EXPECT_EQ(f.game.music.currentTrack, 0);
}

// The strip of music buttons takes a click strictly inside x 48..176 and below y 568, down
// to the bottom of the screen, each button over 32 columns from x 49; one pixel further out
// the click belongs to the neighbour or to nothing.
TEST(StatusPanel, EachMusicButtonActsOnAClickOnePixelInsideItsEdgesAndNotOutside) {
    PlayFixture f;
    for (const char* name : {"a.wav", "b.wav", "c.wav"})
        writeBytes(f.scratch.file(std::string("tracks/") + name), shortWav());
    buildTrackList(f.game.music, f.media);
    startLevel(f.game);
    TrackPlayer& music = f.game.music;
    auto actionAt = [&](int x, int y) {
        music.currentTrack = 1;
        music.musicVolume = music.musicTarget = 0.5f;
        f.media.moveMouse(f.media.framesPresented, x, y);
        f.media.click(f.media.framesPresented);
        f.runFrames(2);
        if (music.currentTrack != 1) return music.currentTrack == 0 ? "previous" : "next";
        return music.musicTarget == 1.0f ? "play" : music.musicTarget == 0.0f ? "stop" : "nothing";
    };
    const std::vector<std::tuple<int, int, std::string>> clicks = {
        {49, 584, "previous"}, {48, 584, "nothing"}, {79, 584, "previous"}, {80, 584, "play"},  {111, 584, "play"},
        {112, 584, "next"},    {143, 584, "next"},   {144, 584, "stop"},    {175, 584, "stop"}, {176, 584, "nothing"},
        {64, 569, "previous"}, {64, 568, "nothing"}, {160, 599, "stop"}};
    for (const auto& [x, y, action] : clicks) EXPECT_EQ(actionAt(x, y), action) << x << "," << y;
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
    for (const DrawCall& piece : f.media.drawsOf(f.game.res.hint.get()))  // the bubble fades in with it
        EXPECT_NEAR(piece.state.alpha, 0.72f, 0.03f);
    const std::vector<DrawCall> pointer = f.media.drawsOf(f.game.res.pointer.get());
    ASSERT_FALSE(pointer.empty());
    for (const DrawCall& piece : pointer) EXPECT_EQ(piece.state.alpha, 1.0f) << "the pointer over the tip is whole";
    f.media.moveMouse(f.media.framesPresented, x + 1, y);
    playFrame(f.game);
    EXPECT_EQ(f.game.tip.timer, 0);
    EXPECT_TRUE(f.media.drawsOf(f.game.res.hint.get()).empty());
}

TEST(StatusPanel, ARestingPointerNamesTheStateOfTheComputerUnderIt) {
    PlayFixture f;
    startLevel(f.game);
    f.runUntil([&] { return f.game.level.phase == LevelPhase::Playing; });
    Computer& computer = f.game.board.computers.at(0);
    const int x = cellCentreX(f.game.board, computer.x), y = cellCentreY(f.game.board, computer.y);
    // The bubble has as many middle pieces as its text needs, between its two ends.
    const std::vector<std::tuple<ComputerState, std::string, size_t>> states = {{NotConnected, "Not connected", 7},
                                                                                {Infected, "Virus Detected", 8}};
    for (const auto& [state, text, middles] : states) {
        computer.state = state;  // an infected computer stays so whatever the floods find
        f.media.moveMouse(f.media.framesPresented, x, y - 1 + state);  // a move starts a new rest
        f.runFrames(52);
        EXPECT_EQ(f.game.tip.text, text);
        EXPECT_TRUE(f.textShown(text)) << text;
        EXPECT_EQ(f.media.drawsOf(f.game.res.hint.get()).size(), middles + 2) << text;
    }
}

TEST(StatusPanel, ARestingPointerNamesTheMusicButtonAboveItself) {
    PlayFixture f;
    startLevel(f.game);
    f.runUntil([&] { return f.game.level.phase == LevelPhase::Playing; });
    const std::vector<std::tuple<int, std::string, size_t>> buttons = {
        {64, "Previous Track", 6}, {96, "Play Track", 5}, {128, "Next Track", 5}, {160, "Stop", 3}};
    for (const auto& [x, text, middles] : buttons) {
        f.media.moveMouse(f.media.framesPresented, x, 590);
        f.runFrames(52);
        EXPECT_EQ(f.game.tip.text, text);
        EXPECT_EQ(f.game.tip.y, 590 - 18);
        EXPECT_TRUE(f.textShown(text)) << text;
        EXPECT_EQ(f.media.drawsOf(f.game.res.hint.get()).size(), middles + 2) << text;
    }
}
