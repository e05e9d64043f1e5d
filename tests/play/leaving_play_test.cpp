// A request to end the program in play (a signal, the window's close button) leaves play as
// Escape does, without the fade: the same files, the music stopped, the keys flushed. A
// second request while the first is being handled ends at once and spoils no file.

#include <gtest/gtest.h>

#include <filesystem>

#include "play_fixture.h"

namespace {

enum class Leave { Escape, Request, WindowClose };

struct Stay {
    PlayEnd end = PlayEnd::BackToMenu;
    int framesAfterLeaving = 0;  // frames presented from the frame of the leave on
    int completedFrame = -1;     // when the first level was completed
    std::vector<uint8_t> savedGame, records;
};

// Plays the first level to its completion, then leaves in the given way at frame leaveAt
// (counted from the completion).
Stay playAndLeave(Leave how, int leaveAt) {
    PlayFixture f;
    f.game.progress.rankIndex = 2;
    f.game.progress.carriedValue = 42;
    f.game.progress.bestTimes[0] = 50000;
    writeBytes(f.scratch.file("tracks/.keep"), {});
    Stay stay;
    int leaveFrame = -1;
    f.media.onFrame = [&](int presented) {
        if (presented == 2) {  // the board is built: solve it
            const std::vector<CellPosition> clicks = f.solution();
            for (size_t i = 0; i < clicks.size(); ++i) {
                const int frame = presented + static_cast<int>(i);
                f.media.moveMouse(frame, cellCentreX(f.game.board, clicks[i].column),
                                  cellCentreY(f.game.board, clicks[i].row));
                f.media.click(frame);
            }
        }
        if (stay.completedFrame < 0 && f.game.level.phase == LevelPhase::Completed) {
            stay.completedFrame = presented;
            leaveFrame = presented + leaveAt;
            if (how == Leave::Escape) f.media.pressKey(leaveFrame, Key::Escape);
            if (how == Leave::Request) f.media.requestQuit(leaveFrame);
            if (how == Leave::WindowClose) f.media.closeWindow(leaveFrame);
        }
    };
    f.media.frameLimit = 3000;
    stay.end = enterPlay(f.game);
    EXPECT_GT(stay.completedFrame, 0);
    stay.framesAfterLeaving = f.media.framesPresented - leaveFrame;
    stay.savedGame = readBytes(f.scratch.file("oldgame.cwm"));
    stay.records = readBytes(f.scratch.file("oldgame.cws"));
    EXPECT_EQ(f.game.music.musicVolume, 0.0f);   // the track stopped for the next stay
    EXPECT_FALSE(f.media.keyDown(Key::Escape));  // flushed for the menu
    return stay;
}

// The first value of a progress file: the best time of the first level.
int firstValue(const std::vector<uint8_t>& bytes) { return bytes.at(0) | bytes.at(1) << 8 | bytes.at(2) << 16; }

class RequestInPlay : public ::testing::TestWithParam<Leave> {};

}  // namespace

// In the next level, its caption showing (frame 300 of the completed level's 260 and the
// next level's 250), and in its play (frame 600).
TEST_P(RequestInPlay, LeavesAtOnceWithWhatEscapeWritesAndEndsTheProgram) {
    for (int leaveAt : {300, 600}) {
        const Stay escaped = playAndLeave(Leave::Escape, leaveAt);
        const Stay requested = playAndLeave(GetParam(), leaveAt);
        EXPECT_EQ(escaped.end, PlayEnd::BackToMenu);
        EXPECT_EQ(requested.end, PlayEnd::EndProgram);
        EXPECT_GT(escaped.framesAfterLeaving, 30) << "Escape fades out";
        EXPECT_LE(requested.framesAfterLeaving, 1) << "a request leaves in the frame it is seen";
        EXPECT_EQ(requested.savedGame, escaped.savedGame);
        EXPECT_EQ(requested.records, escaped.records);
        // The next level, with the completed level's best time.
        EXPECT_EQ(requested.savedGame, littleEndian({2, 1, 3, 42}));
        ASSERT_EQ(requested.records.size(), 312u);
        EXPECT_LT(firstValue(requested.records), 50000);
    }
}

// During the completion caption the level is not yet over: like Escape, the request keeps
// the level and its old best time.
TEST_P(RequestInPlay, DuringTheCompletionCaptionKeepsTheLevelAsEscapeDoes) {
    const Stay escaped = playAndLeave(Leave::Escape, 30);
    const Stay requested = playAndLeave(GetParam(), 30);
    EXPECT_EQ(requested.end, PlayEnd::EndProgram);
    EXPECT_EQ(requested.savedGame, littleEndian({2, 0, 2, 42}));
    EXPECT_EQ(requested.savedGame, escaped.savedGame);
    EXPECT_EQ(requested.records, escaped.records);
    EXPECT_EQ(firstValue(requested.records), 50000);
}

INSTANTIATE_TEST_SUITE_P(SignalAndWindow, RequestInPlay, ::testing::Values(Leave::Request, Leave::WindowClose),
                         [](const auto& info) { return info.param == Leave::Request ? "Signal" : "WindowClose"; });

namespace {

ScriptedMedia* requestDuringWrites = nullptr;

// The first write of a save is where a second signal would come.
size_t writeWithAnotherRequest(const void* data, size_t size, size_t count, std::FILE* file) {
    if (requestDuringWrites) requestDuringWrites->requestQuitNow();
    return std::fwrite(data, size, count, file);
}

}  // namespace

// The second request comes during the first file of the leaving save: the save goes on to
// write both files whole, and the program ends right after it.
TEST(LeavingPlay, ASecondRequestWhileTheFirstIsHandledEndsOnceTheSaveIsWritten) {
    PlayFixture f;
    writeBytes(f.scratch.file("tracks/.keep"), {});
    writeBytes(f.scratch.file("oldgame.cwm"), littleEndian({4, 9, 13, 0}));
    f.game.progress.rankIndex = 2;
    f.media.requestQuit(100);
    f.media.fileWriteCalls().write = writeWithAnotherRequest;
    requestDuringWrites = &f.media;
    EXPECT_THROW(enterPlay(f.game), EndedAtOnce);
    requestDuringWrites = nullptr;
    EXPECT_EQ(readBytes(f.scratch.file("oldgame.cwm")), littleEndian({2, 0, 2, 0}));
    EXPECT_EQ(readBytes(f.scratch.file("oldgame.cws")).size(), 312u);
    EXPECT_FALSE(f.media.keyDown(Key::Escape));
}

TEST(LeavingPlay, ARequestBeforePlayIsSeenInTheFirstFrame) {
    PlayFixture f;
    writeBytes(f.scratch.file("tracks/.keep"), {});
    f.media.requestQuit(0);
    EXPECT_EQ(enterPlay(f.game), PlayEnd::EndProgram);
    EXPECT_EQ(f.media.framesPresented, 2);  // the cleared screen and one frame of play
    EXPECT_EQ(readBytes(f.scratch.file("oldgame.cwm")), littleEndian({0, 0, 0, 0}));
}
