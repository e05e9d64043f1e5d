// A request to end the program (a termination signal, the window's close button) in each
// screen of the whole game: the menu, the help pages and the credits end the program as
// the menu's Escape does, writing nothing; play is left as Escape leaves it, writing both
// files; the status is 0 every time.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "media/scripted/scripted_media.h"
#include "shell/run_game.h"
#include "shell/shell_scenario.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

enum class Request { Signal, WindowClose };

constexpr int ButtonX = 650, NewGameY = 200, ContinueY = 257, HelpY = 314, CreditsY = 371;
constexpr int Unbeaten = 359940;

ino_t inodeOf(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

struct QuitRequest : ::testing::TestWithParam<Request> {
    ScratchFolder folder{"quit-request"};
    std::unique_ptr<WorkingFolder> inFolder;
    ScriptedMedia media;
    std::vector<uint8_t> records = littleEndian(std::vector<int32_t>(78, Unbeaten));
    ino_t recordsInode = 0;
    int requestFrame = 0;
    std::vector<std::string> textsBeforeRequest;  // what the screen showed in the frame before it

    void SetUp() override {
        if (!linkBuiltGameFiles(folder.path())) GTEST_SKIP() << "no built game folder";
        inFolder = std::make_unique<WorkingFolder>(folder.path());
        records[4 * 12] = 0x10;  // one best time of 00:00 and a bit, to tell the file apart
        writeBytes("oldgame.cws", records);
        recordsInode = inodeOf("oldgame.cws");
    }
    void clickButton(int frame, int y) {
        media.moveMouse(frame, ButtonX, y);
        media.click(frame + 1);
    }
    // The request at the frame, of the kind under test; then the whole program runs.
    int runWithRequestAt(int frame) {
        requestFrame = frame;
        if (GetParam() == Request::Signal)
            media.requestQuit(frame);
        else
            media.closeWindow(frame);
        media.onFrame = [this](int presented) {
            if (presented != requestFrame - 1) return;
            for (const DrawnText& text : smallTexts(media.lastFrame)) textsBeforeRequest.push_back(text.text);
        };
        media.frameLimit = requestFrame + 400;
        return runGame(media);
    }
    bool shownBeforeRequest(const std::string& prefix) const {
        for (const std::string& text : textsBeforeRequest)
            if (text.rfind(prefix, 0) == 0) return true;
        return false;
    }
    // Nothing written: no saved game, the records the very file they were.
    void expectNothingWritten() {
        EXPECT_FALSE(fs::exists("oldgame.cwm"));
        EXPECT_EQ(readBytes("oldgame.cws"), records);
        EXPECT_EQ(inodeOf("oldgame.cws"), recordsInode) << "the records were written again";
    }
    // Ended in the frame the request came, or the next.
    void expectEndedAtOnce() { EXPECT_LE(media.framesPresented, requestFrame + 1); }
};

}  // namespace

TEST_P(QuitRequest, InTheMenuEndsTheProgramWritingNothing) {
    EXPECT_EQ(runWithRequestAt(200), 0);
    EXPECT_TRUE(shownBeforeRequest("Welcome to Cablewright"));
    expectEndedAtOnce();
    expectNothingWritten();
}

TEST_P(QuitRequest, WhileTheMenuFadesOutTowardPlayEndsTheProgramWritingNothing) {
    clickButton(150, NewGameY);
    EXPECT_EQ(runWithRequestAt(200), 0);
    expectEndedAtOnce();
    expectNothingWritten();
}

TEST_P(QuitRequest, InTheHelpPagesEndsTheProgramWritingNothing) {
    clickButton(150, HelpY);
    EXPECT_EQ(runWithRequestAt(300), 0);
    EXPECT_TRUE(shownBeforeRequest("How to play?"));
    expectEndedAtOnce();
    expectNothingWritten();
}

TEST_P(QuitRequest, InTheCreditsEndsTheProgramWritingNothing) {
    clickButton(150, CreditsY);
    EXPECT_EQ(runWithRequestAt(500), 0);
    EXPECT_TRUE(shownBeforeRequest("C r e d i t s"));
    expectEndedAtOnce();
    expectNothingWritten();
}

TEST_P(QuitRequest, InPlayLeavesAsEscapeDoesAndEndsTheProgram) {
    writeBytes("oldgame.cwm", littleEndian({3, 12, 15, 7}));
    const ino_t savedInode = inodeOf("oldgame.cwm");
    clickButton(150, ContinueY);
    EXPECT_EQ(runWithRequestAt(700), 0);
    EXPECT_TRUE(shownBeforeRequest("Level:3   Zone:2"));
    expectEndedAtOnce();
    // Both files written again through the usual path, holding what Escape would write.
    EXPECT_EQ(readBytes("oldgame.cwm"), littleEndian({3, 12, 15, 7}));
    EXPECT_NE(inodeOf("oldgame.cwm"), savedInode);
    EXPECT_EQ(readBytes("oldgame.cws"), records);
    EXPECT_NE(inodeOf("oldgame.cws"), recordsInode);
    EXPECT_TRUE(media.warnings.empty());
}

INSTANTIATE_TEST_SUITE_P(SignalAndWindow, QuitRequest, ::testing::Values(Request::Signal, Request::WindowClose),
                         [](const auto& info) { return info.param == Request::Signal ? "Signal" : "WindowClose"; });
