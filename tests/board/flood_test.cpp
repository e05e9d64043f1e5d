// The connection flood: waves, the fifty-wave limit, the FaxModem relay and bad seeds.

#include <gtest/gtest.h>

#include "board/board_fixture.h"

namespace {

// The small example level: Server on (0,0)/(0,1), a straight and a corner leading to
// a computer at (2,1).
Board exampleBoard(int computerDevice = DeviceComputer)
{
    Board board = emptyBoard(0);
    placeServer(board, 0, 0, cableTile(EndE), cableTile(EndW));  // the bottom half faces the edge
    board.tile[1][0] = cableTile(StraightEW);
    board.tile[2][0] = cableTile(CornerSW);
    placeDevice(board, 2, 1, computerDevice, cableTile(EndN));
    createDevices(board);
    return board;
}

std::vector<std::vector<int>> depths(const Board& board)
{
    std::vector<std::vector<int>> rows(board.rows, std::vector<int>(board.columns));
    for (int c = 0; c < board.columns; ++c)
        for (int r = 0; r < board.rows; ++r)
            rows[r][c] = board.DepthGrid[c][r];
    return rows;
}

TEST(Flood, ExampleBoardWaveByWave)
{
    Board board = exampleBoard();
    FrameRunner frame;
    resetReach(board);
    floodFromServer(board, frame.connectors, 0, 0, frame.watch, frame.events);
    const std::vector<std::vector<int>> firstPass = {
        {1, 2, 3, 0}, {0, 0, 4, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}};
    EXPECT_EQ(depths(board), firstPass);
    const Computer& computer = board.computers.at(0);
    EXPECT_EQ(computer.state, Connected);
    EXPECT_EQ(computer.reached, 1);
    EXPECT_EQ(computer.animTicksLeft, 80);

    // The bottom half faces the edge: its pass reaches only its own cell.
    floodFromServer(board, frame.connectors, 0, 1, frame.watch, frame.events);
    std::vector<std::vector<int>> secondPass(5, std::vector<int>(4, 0));
    secondPass[1][0] = 1;
    EXPECT_EQ(depths(board), secondPass);
    EXPECT_TRUE(frame.events.log.empty());
}

TEST(Flood, ExampleBoardWithHiddenVirusIsInfectedAtTheEndOfThePass)
{
    Board board = exampleBoard(DeviceVirusComputer);
    FrameRunner frame;
    frame.run(board);
    const Computer& computer = board.computers.at(0);
    EXPECT_EQ(computer.state, Infected);
    EXPECT_EQ(computer.hasVirus, 0);
    EXPECT_EQ(computer.animTicksLeft, 0);
    // Cell (2,1) of a 4 x 5 board at (304,180) has its centre at (424, 252).
    const std::vector<std::string> expected = {"sound Virus", "sparkle 424 252 0.5 0.5", "sparkle 424 252 0.9 0.2"};
    EXPECT_EQ(frame.events.log, expected);
}

TEST(Flood, FacingCornersConnectAndClosedSidesDoNot)
{
    Board board = exampleBoard();
    FrameRunner frame;
    frame.run(board);
    EXPECT_EQ(board.computers[0].state, Connected);

    board.tile[2][0] = cableTile(CornerNE);  // its open sides face away from both neighbours
    frame.run(board);
    EXPECT_EQ(board.computers[0].state, NotConnected);
    EXPECT_EQ(board.computers[0].animTicksLeft, 0);  // the screen animation stops
}

// A chain of `cables` pieces from the Server's top output to a computer.
Board chainBoard(int cables)
{
    Board board = emptyBoard(3);
    const std::vector<Cell> path = snakePath(cables + 2);
    layPath(board, path);
    placeServer(board, 0, 0, board.tile[0][0], 0);
    placeDevice(board, path.back().first, path.back().second, DeviceComputer,
                board.tile[path.back().first][path.back().second]);
    createDevices(board);
    return board;
}

TEST(Flood, FiftyWavesLimitTheReach)
{
    struct Case {
        int cables;
        int state;
    };
    // 48 cables put the computer in wave 50, the last wave that is expanded.
    for (const Case& test : {Case{48, Connected}, Case{49, NotConnected}, Case{60, NotConnected}}) {
        Board board = chainBoard(test.cables);
        FrameRunner frame;
        frame.run(board);
        EXPECT_EQ(board.computers.at(0).state, test.state) << test.cables << " cables";
    }
    // The flood marks wave 51 but never expands it.
    Board board = chainBoard(60);
    FrameRunner frame;
    resetReach(board);
    floodFromServer(board, frame.connectors, 0, 0, frame.watch, frame.events);
    const std::vector<Cell> path = snakePath(62);
    EXPECT_EQ(board.DepthGrid[path[49].first][path[49].second], 50);
    EXPECT_EQ(board.DepthGrid[path[50].first][path[50].second], 51);
    EXPECT_EQ(board.DepthGrid[path[51].first][path[51].second], 0);
}

TEST(Flood, FaxModemRelayReachesTheFarSideOneWaveLater)
{
    Board board = emptyBoard(3);
    placeServer(board, 0, 0, cableTile(EndE), 0);
    board.tile[1][0] = cableTile(StraightEW);
    placeDevice(board, 2, 0, DeviceFaxModem, cableTile(EndW));    // reached in wave 3
    placeDevice(board, 13, 10, DeviceFaxModem, cableTile(EndW));  // far corner, output west
    board.tile[12][10] = cableTile(StraightEW);
    placeDevice(board, 11, 10, DeviceComputer, cableTile(EndE));
    placeDevice(board, 7, 5, DeviceFaxModem, 0);  // third FaxModem, no output
    createDevices(board);
    FrameRunner frame;
    resetReach(board);
    floodFromServer(board, frame.connectors, 0, 0, frame.watch, frame.events);
    EXPECT_EQ(board.DepthGrid[2][0], 3);
    EXPECT_EQ(board.DepthGrid[13][10], 4);
    EXPECT_EQ(board.DepthGrid[7][5], 4);
    EXPECT_EQ(board.DepthGrid[11][10], 6);
    EXPECT_EQ(board.computers[0].state, Connected);
    for (const FaxModem& faxModem : board.faxModems)
        EXPECT_EQ(faxModem.active, 1);
}

TEST(Flood, ServerInTheLastRowFloodsOnlyFromItsTopHalf)
{
    // Bad map data: the bottom seed (0, 11) lies below the storage and reaches nothing.
    Board board = emptyBoard(3);
    placeDevice(board, 0, 10, DeviceServerTop, cableTile(EndE));
    placeDevice(board, 1, 10, DeviceComputer, cableTile(EndW));
    createDevices(board);
    FrameRunner frame;
    EXPECT_TRUE(frame.run(board));
    EXPECT_EQ(board.serverY, 10);
    EXPECT_EQ(board.computers[0].state, Connected);
}

TEST(Flood, AComputerReachedOnlyFromTheBottomHalfStaysConnectedFromFrameToFrame)
{
    Board board = emptyBoard(0);
    placeServer(board, 0, 0, 92, 94);              // the top half faces the edge
    placeDevice(board, 1, 1, DeviceComputer, 92);  // EndW, facing the bottom half
    createDevices(board);
    FrameRunner frame;
    frame.run(board);
    Computer& computer = board.computers.at(0);
    EXPECT_EQ(computer.state, Connected);
    EXPECT_EQ(computer.animTicksLeft, 80);
    computer.animTicksLeft = 30;  // the connect animation under way
    frame.run(board);
    // Settled after both passes: still connected, so the animation is not started again.
    EXPECT_EQ(computer.wasConnected, 1);
    EXPECT_EQ(computer.animTicksLeft, 30);
}

TEST(Flood, AComputerCutOffStopsItsAnimationOnceAndThenLeavesItsIdleOnesAlone)
{
    Board board = emptyBoard(0);
    placeServer(board, 0, 0, 92, 94);
    placeDevice(board, 1, 1, DeviceComputer, 92);
    createDevices(board);
    FrameRunner frame;
    frame.run(board);
    Computer& computer = board.computers.at(0);
    ASSERT_EQ(computer.state, Connected);
    computer.animFrame = 4;
    rotateCell(board, 1, 1);  // now facing away from the Server
    frame.run(board);
    EXPECT_EQ(computer.state, NotConnected);
    EXPECT_FALSE(computer.wasConnected);
    EXPECT_EQ(computer.animTicksLeft, 0);
    EXPECT_EQ(computer.animFrame, 0);
    computer.animId = 2, computer.animTicksLeft = 40, computer.animFrame = 3;  // an idle animation under way
    frame.run(board);
    EXPECT_EQ(computer.animId, 2);
    EXPECT_EQ(computer.animTicksLeft, 40);
    EXPECT_EQ(computer.animFrame, 3);
    for (int turn = 0; turn < 3; ++turn)
        rotateCell(board, 1, 1);  // facing the Server again: the connect animation starts anew
    frame.run(board);
    EXPECT_EQ(computer.state, Connected);
    EXPECT_EQ(computer.animTicksLeft, 80);
}

TEST(Flood, SeedOutsideTheActiveAreaIsNeverExpanded)
{
    Board board = emptyBoard(0);
    placeDevice(board, 5, 0, DeviceServerTop, cableTile(EndW));  // column 5 of a 4-column board
    placeDevice(board, 4, 0, DeviceComputer, cableTile(EndE));   // outside too
    placeDevice(board, 3, 0, DeviceComputer, cableTile(EndE));
    createDevices(board);
    FrameRunner frame;
    frame.run(board);
    for (const Computer& computer : board.computers)
        EXPECT_EQ(computer.state, NotConnected);
    for (const int seed : {-1, 11, 200}) {
        resetReach(board);
        floodFromServer(board, frame.connectors, seed, seed, frame.watch, frame.events);
    }
    EXPECT_TRUE(frame.events.log.empty());
}

}  // namespace
