// Two copies of the game for one player: the second shows its plate over the menu and ends,
// having read and written nothing in the player's folder; once the first is gone, a new start
// plays as usual.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "media/scripted/scripted_media.h"
#include "shell/run_game.h"
#include "shell/second_copy.h"
#include "shell/shell_scenario.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

// Every file of a folder with its bytes and the time it was last changed.
std::map<std::string, std::pair<std::vector<uint8_t>, fs::file_time_type>> snapshot(const fs::path& folder) {
    std::map<std::string, std::pair<std::vector<uint8_t>, fs::file_time_type>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        files[entry.path().string()] = {
            entry.is_regular_file() ? readBytes(entry.path().string()) : std::vector<uint8_t>{},
            fs::last_write_time(entry.path())};
    return files;
}

struct TwoCopies : ::testing::Test {
    ScratchFolder scratch{"two-copies"};
    WorkingFolder inGame{scratch.path()};
    fs::path mine = scratch.path() / "data";
    PlayerFolders folders{mine.string(), ""};
    ScriptedMedia first;  // holds the lock as a running copy does
    void SetUp() override {
        if (!linkBuiltGameFiles(scratch.path())) GTEST_SKIP() << "no built game folder";
        fs::create_directories(mine);
        // What a copy that plays would touch: records cut short (it would keep them aside),
        // a side file (it would remove it: here it may be the first copy's, being written).
        writeBytes((mine / "oldgame.cws").string(), std::vector<uint8_t>(100, 1));
        writeBytes((mine / "oldgame.cwm").string(), littleEndian({3, 12, 15, 7}));
        writeBytes((mine / "oldgame.cws.Ab3dE9.part").string(), {});
        ASSERT_EQ(first.lockFile((mine / "cablewright.lock").string()), LockResult::Taken);
    }
};

}  // namespace

TEST_F(TwoCopies, TheSecondShowsItsPlateForAFewSecondsAndTouchesNothing) {
    const auto before = snapshot(mine);
    ScriptedMedia second;
    int plateFrames = 0, fadedAlike = 0, lastBrightness = -1, brightening = 0;
    second.onFrame = [&](int) {
        const std::vector<DrawnText> texts = smallTexts(second.lastFrame);
        const DrawnText* plate = findText(texts, SecondCopyText);
        if (plate && plate->y == 293) ++plateFrames;
        // The menu behind (its background is the frame's first picture) fades in with the plate, frame for frame.
        const DrawCall& background = second.lastFrame.at(0);
        if (plate && background.kind == DrawCall::Kind::Image && background.state.colour.r == plate->colour.r)
            ++fadedAlike;
        brightening += plate && plate->colour.r > lastBrightness;
        if (plate) lastBrightness = plate->colour.r;
    };
    EXPECT_EQ(runGame(second, folders), SecondCopyStatus);
    EXPECT_EQ(second.framesPresented, SecondCopyFrames);
    EXPECT_EQ(plateFrames, SecondCopyFrames);
    EXPECT_EQ(fadedAlike, SecondCopyFrames);
    EXPECT_GT(brightening, 60) << "the plate comes up out of black";
    EXPECT_EQ(snapshot(mine), before);
    ASSERT_FALSE(second.warnings.empty());
    EXPECT_EQ(second.warnings.back(),
              std::string(SecondCopyText) + "; this copy ends without touching the player's files");
}

TEST_F(TwoCopies, AClickOrAKeyEndsThePlateAtOnce) {
    ScriptedMedia clicked;
    clicked.click(200);
    EXPECT_EQ(runGame(clicked, folders), SecondCopyStatus);
    EXPECT_EQ(clicked.framesPresented, 201);  // the frame that takes the click in is the last
    ScriptedMedia escaped;
    escaped.tapKey(150, Key::Escape);
    EXPECT_EQ(runGame(escaped, folders), SecondCopyStatus);
    EXPECT_EQ(escaped.framesPresented, 150);
}

TEST_F(TwoCopies, OnceTheFirstIsGoneANewStartPlaysAsUsual) {
    first.unlockFile();
    ScriptedMedia next;
    bool plateSeen = false, menuSeen = false;
    next.onFrame = [&](int) {  // while the frame's pictures are alive
        const std::vector<DrawnText> texts = smallTexts(next.lastFrame);
        plateSeen = plateSeen || findText(texts, SecondCopyText);
        menuSeen = menuSeen || findTextStarting(texts, "Welcome to Cablewright");
    };
    next.frameLimit = 300;
    EXPECT_THROW(runGame(next, folders), ScriptEnded);
    EXPECT_FALSE(plateSeen);
    EXPECT_TRUE(menuSeen);
    EXPECT_FALSE(fs::exists(mine / "oldgame.cws.Ab3dE9.part")) << "it tidies the folder";
    EXPECT_TRUE(fs::exists(mine / "oldgame.cws.damaged")) << "and keeps the damaged records aside";
    // A third copy now meets the lock of this one.
    ScriptedMedia third;
    EXPECT_EQ(runGame(third, folders), SecondCopyStatus);
}
