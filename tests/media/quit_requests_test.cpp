// Where requests to end the program come from in the shipping layer: the termination,
// hang-up and interrupt signals and SDL's quit event (the window's close button). A request
// is only noted; one that comes once the game is handling one ends the program at once with
// status 0. Each case runs in a process of its own (gtest's death tests), since a signal
// handler is the process's and ending at once ends the process.

#include <SDL.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "media/desktop/quit_signals.h"
#include "media/desktop/sdl_media.h"
#include "media/files/writes_under_way.h"
#include "support/test_support.h"

namespace {

// Statuses a case ends with when the process was not ended at once.
constexpr int Requested = 3, NotRequested = 4;

class QuitRequests : public ::testing::Test {
protected:
    void SetUp() override {
        // The case runs in a fresh process started from the test program, never a bare fork
        // of this one, whose other threads may hold locks.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
};

// Raises the signals one after the other; ends with Requested when the handlers noted a
// request and let the process go on.
[[noreturn]] void raiseInTurn(std::initializer_list<int> signals, bool handlingFirst = false) {
    QuitSignals quitSignals;
    if (handlingFirst) quitSignals.handling();
    for (int number : signals) std::raise(number);
    std::_Exit(quitSignals.arrived() ? Requested : NotRequested);
}

void pushQuit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

}  // namespace

TEST_F(QuitRequests, EachTerminationSignalIsOnlyNoted) {
    for (int number : {SIGTERM, SIGHUP, SIGINT})
        EXPECT_EXIT(raiseInTurn({number}), ::testing::ExitedWithCode(Requested), "") << number;
}

TEST_F(QuitRequests, ALogoutsTerminationAndHangUpTogetherAreOneRequest) {
    EXPECT_EXIT(raiseInTurn({SIGTERM, SIGHUP}), ::testing::ExitedWithCode(Requested), "");
}

TEST_F(QuitRequests, TheSameSignalTwiceEndsAtOnce) {
    EXPECT_EXIT(raiseInTurn({SIGINT, SIGINT}), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(raiseInTurn({SIGTERM, SIGTERM}), ::testing::ExitedWithCode(0), "");
}

TEST_F(QuitRequests, AnySignalWhileTheRequestIsHandledEndsAtOnce) {
    for (int number : {SIGTERM, SIGHUP, SIGINT})
        EXPECT_EXIT(raiseInTurn({number}, true), ::testing::ExitedWithCode(0), "") << number;
}

// A second layer in one process starts afresh: the first one's handling is over with it.
TEST_F(QuitRequests, ALaterLayerTakesItsFirstSignalAsARequestAgain) {
    EXPECT_EXIT(
        {
            {
                QuitSignals first;
                first.handling();
            }
            raiseInTurn({SIGTERM});
        },
        ::testing::ExitedWithCode(Requested), "");
}

// A call that is waiting when a signal comes carries on: a save is never cut by a request.
TEST_F(QuitRequests, ACallWaitingWhenASignalComesCarriesOn) {
    EXPECT_EXIT(
        {
            QuitSignals quitSignals;
            int ends[2];
            if (pipe(ends) != 0) std::_Exit(NotRequested);
            const pthread_t reader = pthread_self();
            std::thread other([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                pthread_kill(reader, SIGTERM);  // while the read below waits
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                const char byte = 'x';
                if (write(ends[1], &byte, 1) != 1) std::_Exit(NotRequested);
            });
            char byte = 0;
            const ssize_t got = read(ends[0], &byte, 1);
            other.join();
            std::_Exit(got == 1 && byte == 'x' && quitSignals.arrived() ? Requested : NotRequested);
        },
        ::testing::ExitedWithCode(Requested), "");
}

TEST_F(QuitRequests, TheHandlersBeforeAreBackOnceTheLayerIsGone) {
    EXPECT_EXIT(
        {
            { QuitSignals quitSignals; }
            std::raise(SIGTERM);
            std::_Exit(NotRequested);
        },
        ::testing::KilledBySignal(SIGTERM), "");
}

TEST_F(QuitRequests, TheGameSeesASignalInTheNextFrame) {
    EXPECT_EXIT(
        {
            SdlMedia media;
            if (!media.openScreen(800, 600, 0, 60, 0) || media.quitRequested()) std::_Exit(NotRequested);
            std::raise(SIGHUP);
            media.presentFrame();  // the next frame takes it in
            std::_Exit(media.quitRequested() ? Requested : NotRequested);
        },
        ::testing::ExitedWithCode(Requested), "");
}

TEST_F(QuitRequests, TheWindowsCloseButtonIsARequestAndASecondOneWhileItIsHandledEndsAtOnce) {
    EXPECT_EXIT(
        {
            SdlMedia media;
            if (!media.openScreen(800, 600, 0, 60, 0)) std::_Exit(NotRequested);
            // Two closes before the game looks are one request.
            pushQuit();
            pushQuit();
            if (!media.quitRequested()) std::_Exit(NotRequested);
            pushQuit();
            media.presentFrame();
            media.mouseX();  // the next frame takes it in
            std::_Exit(Requested);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(QuitRequests, ASignalWhileAWindowCloseIsHandledEndsAtOnce) {
    EXPECT_EXIT(
        {
            SdlMedia media;
            if (!media.openScreen(800, 600, 0, 60, 0)) std::_Exit(NotRequested);
            pushQuit();
            if (!media.quitRequested()) std::_Exit(NotRequested);
            std::raise(SIGTERM);
            std::_Exit(Requested);
        },
        ::testing::ExitedWithCode(0), "");
}

// ---- Ending while a save is written -------------------------------------------------------

TEST_F(QuitRequests, KeptHandlersEndTheProgramWithStatusZeroOnceTheLayerIsGone) {
    EXPECT_EXIT(
        {
            {
                QuitSignals quitSignals;
                quitSignals.keepToTheEnd();
            }
            std::raise(SIGTERM);  // as the program tears its window down
            std::_Exit(NotRequested);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(QuitRequests, ASignalThatEndsTheProgramWaitsForTheWriteUnderWay) {
    EXPECT_EXIT(
        {
            QuitSignals quitSignals;
            quitSignals.handling();
            beginWriteUnderWay();
            std::raise(SIGTERM);
            std::fprintf(stderr, "the write goes on\n");
            endWriteUnderWay();  // and the program ends here, with status 0
            std::_Exit(NotRequested);
        },
        ::testing::ExitedWithCode(0), "the write goes on");
}

namespace {

// The second signal comes while the first file of the leaving save is being synced.
int syncWithASecondSignal(int descriptor) {
    std::raise(SIGTERM);
    return fsync(descriptor);
}

}  // namespace

// A logout sends SIGTERM; the game leaves play and saves; a second SIGTERM comes in the middle
// of that save. Both files are written whole, and the program ends with status 0 right after.
TEST_F(QuitRequests, ASecondSignalDuringTheLeavingSaveEndsWithStatusZeroOnceBothFilesAreWritten) {
    EXPECT_EXIT(
        {
            ScratchFolder folder("second-signal");
            SdlMedia media;
            if (!media.openScreen(800, 600, 0, 60, 0)) std::_Exit(NotRequested);
            std::raise(SIGTERM);
            media.presentFrame();
            if (!media.quitRequested()) std::_Exit(NotRequested);
            media.fileWriteCalls().sync = syncWithASecondSignal;
            const std::vector<uint8_t> records(312, 7);
            const std::vector<uint8_t> savedGame(16, 9);
            media.beginSave();
            const bool written = media.replaceFile(folder.file("oldgame.cws"), records) &&
                                 media.replaceFile(folder.file("oldgame.cwm"), savedGame);
            if (written && readBytes(folder.file("oldgame.cws")) == records &&
                readBytes(folder.file("oldgame.cwm")) == savedGame)
                std::fprintf(stderr, "both files written\n");
            std::filesystem::remove_all(folder.path());
            media.endSave();
            std::_Exit(NotRequested);
        },
        ::testing::ExitedWithCode(0), "both files written");
}
