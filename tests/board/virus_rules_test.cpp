// Viruses, cleaning, the FaxModem blink and the completion latch, frame by frame.

#include <gtest/gtest.h>

#include "board/board_fixture.h"

namespace {

// Server (0,0) -> a row of tees along row 0 with a computer under each tee and one
// at the end of the row: four computers on one network.
Board busBoard(int carrierColumn)
{
    Board board = emptyBoard(1);
    placeServer(board, 0, 0, cableTile(EndE), 0);
    for (int column = 1; column <= 3; ++column) {
        board.tile[column][0] = cableTile(TeeESW);
        const int device = column == carrierColumn ? DeviceVirusComputer : DeviceComputer;
        placeDevice(board, column, 1, device, cableTile(EndN));
    }
    placeDevice(board, 4, 0, DeviceComputer, cableTile(EndW));
    createDevices(board);
    return board;
}

int countState(const Board& board, int state)
{
    int n = 0;
    for (const Computer& computer : board.computers)
        n += computer.state == state ? 1 : 0;
    return n;
}

TEST(Virus, CarrierInfectsEveryComputerReachedWithIt)
{
    Board board = busBoard(2);
    for (Computer& computer : board.computers)  // caught part way through an animation
        computer.animFrame = 5, computer.animTicksLeft = 30, computer.animPos = 9.0f;
    FrameRunner frame;
    frame.watch.virusHintClock = 77;
    EXPECT_FALSE(frame.run(board));
    EXPECT_EQ(countState(board, Infected), 4);
    for (const Computer& computer : board.computers) {  // the infected look from its start, still
        EXPECT_EQ(computer.animFrame, 0);
        EXPECT_EQ(computer.animTicksLeft, 0);
        EXPECT_EQ(computer.animPos, 0.0f);
    }
    EXPECT_EQ(frame.events.count("sound Virus"), 1);
    ASSERT_GE(frame.events.log.size(), 3u);
    EXPECT_EQ(frame.events.log.front(), "sound Virus");
    EXPECT_EQ(frame.events.count("sparkle"), 8);
    EXPECT_EQ(frame.events.log[1].substr(frame.events.log[1].size() - 7), "0.5 0.5");
    EXPECT_EQ(frame.events.log[2].substr(frame.events.log[2].size() - 7), "0.9 0.2");
    EXPECT_TRUE(frame.watch.virusRevealed);
    EXPECT_EQ(frame.watch.virusHintClock, 0);

    // Still infected and connected: cleanable, no new sound, no new sparkles.
    frame.events.log.clear();
    EXPECT_FALSE(frame.run(board));
    EXPECT_TRUE(frame.events.log.empty());
    for (const Computer& computer : board.computers)
        EXPECT_EQ(computer.cleanable, 1);
}

TEST(Virus, LaterRevealKeepsTheHintClockRunning)
{
    Board board = busBoard(2);
    FrameRunner frame;
    frame.watch.virusRevealed = true;
    frame.watch.virusHintClock = 300;
    frame.run(board);
    EXPECT_EQ(frame.watch.virusHintClock, 300);
}

TEST(Virus, SeparateNetworkOfTheOtherServerHalfStaysConnected)
{
    Board board = emptyBoard(1);
    placeServer(board, 0, 0, cableTile(EndE), cableTile(EndE));
    placeDevice(board, 1, 0, DeviceVirusComputer, cableTile(EndW));
    board.tile[1][1] = cableTile(StraightEW);
    placeDevice(board, 2, 1, DeviceComputer, cableTile(EndW));
    createDevices(board);
    FrameRunner frame;
    frame.run(board);
    EXPECT_EQ(board.computers[0].state, Infected);
    EXPECT_EQ(board.computers[1].state, Connected);
}

TEST(Cleaning, OneInfectedComputerCanBeCleanedAndCompleted)
{
    Board board = emptyBoard(0);
    placeServer(board, 0, 0, cableTile(EndE), 0);
    placeDevice(board, 1, 0, DeviceVirusComputer, cableTile(EndW));
    createDevices(board);
    FrameRunner frame;
    frame.run(board);
    frame.run(board);
    ASSERT_TRUE(pointerOverCleanable(board, {1, 0}));

    frame.events.log.clear();
    int rankPoints = 10;
    leftClickCell(board, 1, 0, rankPoints, frame.events);
    EXPECT_EQ(board.computers[0].state, NotConnected);
    EXPECT_EQ(board.tile[1][0], cableTile(EndW)) << "cleaning does not turn the output";
    EXPECT_EQ(rankPoints, 15);
    const std::vector<std::string> expected = {"sparkle 376 204 1 0.5", "sound StarUse"};
    EXPECT_EQ(frame.events.log, expected);

    EXPECT_TRUE(frame.run(board));
    EXPECT_EQ(board.computers[0].state, Connected);
    EXPECT_EQ(frame.events.count("sound Virus"), 0);
}

// Server -> tee -> two computers, one carrying the virus.
Board twoComputerBoard()
{
    Board board = emptyBoard(0);
    placeServer(board, 0, 0, cableTile(EndE), 0);
    board.tile[1][0] = cableTile(TeeESW);
    placeDevice(board, 2, 0, DeviceComputer, cableTile(EndW));
    placeDevice(board, 1, 1, DeviceVirusComputer, cableTile(EndN));
    createDevices(board);
    return board;
}

TEST(Cleaning, IsUselessWhileAnotherInfectedComputerIsConnected)
{
    Board board = twoComputerBoard();
    FrameRunner frame;
    frame.run(board);
    frame.run(board);
    ASSERT_EQ(countState(board, Infected), 2);
    int rankPoints = 0;
    leftClickCell(board, 2, 0, rankPoints, frame.events);
    EXPECT_EQ(computerAt(board, 2, 0)->state, NotConnected);
    EXPECT_FALSE(frame.run(board));
    EXPECT_EQ(countState(board, Infected), 2);
}

TEST(Cleaning, ClickOnUnreachedInfectedComputerTurnsIt)
{
    Board board = twoComputerBoard();
    FrameRunner frame;
    frame.run(board);
    rotateCell(board, 1, 0);  // the tee turns its east side away from (2,0)
    frame.run(board);
    EXPECT_FALSE(pointerOverCleanable(board, {2, 0}));

    frame.events.log.clear();
    int rankPoints = 0;
    leftClickCell(board, 2, 0, rankPoints, frame.events);
    EXPECT_EQ(board.tile[2][0], cableTile(EndN));
    EXPECT_EQ(computerAt(board, 2, 0)->state, Infected);
    EXPECT_EQ(rankPoints, 0);
    const std::vector<std::string> expected = {"ghost 424 204 92", "sound Click"};
    EXPECT_EQ(frame.events.log, expected);
}

TEST(Virus, ReconnectedInfectedComputerInfectsItsNetwork)
{
    Board board = twoComputerBoard();
    board.tile[2][0] = cableTile(EndN);  // the clean computer starts facing away
    FrameRunner frame;
    frame.run(board);
    ASSERT_EQ(computerAt(board, 1, 1)->state, Infected);
    ASSERT_EQ(computerAt(board, 2, 0)->state, NotConnected);

    rotateCell(board, 1, 1);  // the infected computer turns away: disconnected, still infected
    for (int turn = 0; turn < 3; ++turn)
        rotateCell(board, 2, 0);  // the clean one faces the tee
    frame.run(board);
    EXPECT_EQ(computerAt(board, 1, 1)->state, Infected);
    EXPECT_EQ(computerAt(board, 1, 1)->cleanable, 0);
    EXPECT_EQ(computerAt(board, 2, 0)->state, Connected);

    for (int turn = 0; turn < 3; ++turn)
        rotateCell(board, 1, 1);
    frame.run(board);
    EXPECT_EQ(countState(board, Infected), 2);
    EXPECT_EQ(frame.events.count("sound Virus"), 1) << "a virus reveals itself only once";
}

TEST(Completion, LevelWithoutComputersCompletesInItsFirstFrameOnce)
{
    Board board = emptyBoard(0);
    placeServer(board, 0, 0, cableTile(EndE), 0);
    createDevices(board);
    FrameRunner frame;
    EXPECT_TRUE(frame.run(board));
    EXPECT_FALSE(frame.run(board));
}

TEST(Completion, FiresOnceAndSurvivesADisconnection)
{
    Board board = emptyBoard(0);
    placeServer(board, 0, 0, cableTile(EndE), 0);
    placeDevice(board, 1, 0, DeviceComputer, cableTile(EndN));  // facing away
    createDevices(board);
    FrameRunner frame;
    EXPECT_FALSE(frame.run(board));
    for (int turn = 0; turn < 3; ++turn)
        rotateCell(board, 1, 0);
    EXPECT_TRUE(frame.run(board));
    EXPECT_FALSE(frame.run(board));
    rotateCell(board, 1, 0);
    EXPECT_FALSE(frame.run(board));
    for (int turn = 0; turn < 3; ++turn)
        rotateCell(board, 1, 0);
    EXPECT_FALSE(frame.run(board)) << "latched until the next level is built";
}

TEST(FaxModemBlink, FortyFrameCycleWithAPulseAndAPauseWhenInactive)
{
    Board board = emptyBoard(0);
    placeDevice(board, 1, 2, DeviceFaxModem, cableTile(EndW));
    createDevices(board);
    RecordingEvents events;
    FaxModem& faxModem = board.faxModems[0];
    std::string frames;
    for (int tick = 1; tick <= 40; ++tick) {
        faxModem.active = 1;
        stepFaxModems(board, events);
        frames += static_cast<char>('0' + faxModem.blinkFrame);
    }
    EXPECT_EQ(frames, std::string(9, '0') + std::string(10, '1') + std::string(10, '0') + std::string(10, '1') + "0");
    const std::vector<std::string> pulse = {"sparkle 376 300 0.5 0.5"};
    EXPECT_EQ(events.log, pulse);

    for (int tick = 0; tick < 15; ++tick) {
        faxModem.active = 1;
        stepFaxModems(board, events);
    }
    faxModem.active = 0;
    stepFaxModems(board, events);
    EXPECT_EQ(faxModem.blinkTicks, 15);
    EXPECT_EQ(faxModem.blinkFrame, 1);
}

}  // namespace
