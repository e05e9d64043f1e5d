// Turning a piece back, and which cells carry the connection.

#include <gtest/gtest.h>

#include "board/board_fixture.h"

namespace {

std::vector<Cell> carriedCells(const Board& board)
{
    std::vector<Cell> cells;
    for (int column = 0; column < board.columns; ++column)
        for (int row = 0; row < board.rows; ++row)
            if (board.carried[column][row])
                cells.push_back({column, row});
    return cells;
}

// The Server at (0,0)/(0,1); a branch east along row 0 to a computer at (3,0), and a branch
// down column 1 from a tee at (1,0) to a computer at (1,3).
Board branchedBoard(int lowerComputer = DeviceComputer)
{
    Board board = emptyBoard(0);
    placeServer(board, 0, 0, cableTile(EndE), cableTile(EndW));
    board.tile[1][0] = cableTile(TeeESW);
    board.tile[2][0] = cableTile(StraightEW);
    placeDevice(board, 3, 0, DeviceComputer, cableTile(EndW));
    board.tile[1][1] = cableTile(StraightNS);
    board.tile[1][2] = cableTile(StraightNS);
    placeDevice(board, 1, 3, lowerComputer, cableTile(EndN));
    createDevices(board);
    return board;
}

}  // namespace

TEST(TurnBack, UndoesATurnOfEveryTileAndIsThreeTurnsWhereFourComeRound)
{
    for (int tile = CableTileBase; tile < TileSheetFrames; ++tile) {
        for (const int device : {NoDevice, DeviceServerTop, DeviceServerBottom}) {
            Board board = emptyBoard(0);
            board.device[1][1] = device;
            board.tile[1][1] = serverRestrictedKind(device, tile - CableTileBase) + CableTileBase;
            const int start = board.tile[1][1];
            rotateCell(board, 1, 1);
            rotateCellBack(board, 1, 1);
            EXPECT_EQ(board.tile[1][1], start) << "tile " << tile << " device " << device;
            rotateCellBack(board, 1, 1);
            rotateCell(board, 1, 1);
            EXPECT_EQ(board.tile[1][1], start) << "tile " << tile << " device " << device;
            if (device != NoDevice)
                continue;  // a Server half goes round three outputs, not four
            Board thrice = board;
            for (int i = 0; i < 3; ++i)
                rotateCell(thrice, 1, 1);
            rotateCellBack(board, 1, 1);
            EXPECT_EQ(board.tile[1][1], thrice.tile[1][1]) << "tile " << tile;
        }
    }
    // The Server's top half turned back from west shows east, never south.
    Board board = emptyBoard(0);
    placeServer(board, 0, 0, cableTile(EndW), cableTile(EndW));
    rotateCellBack(board, 0, 0);
    EXPECT_EQ(board.tile[0][0], cableTile(EndE));
    rotateCellBack(board, 0, 1);
    EXPECT_EQ(board.tile[0][1], cableTile(EndS)) << "the bottom half goes W, E, S round";
}

TEST(TurnBack, AsAClickTheOtherWayButItNeverCleans)
{
    Board board = branchedBoard(DeviceVirusComputer);
    FrameRunner frame;
    frame.run(board);  // the lower computer's virus infects both
    ASSERT_EQ(board.computers[1].state, Infected);
    frame.run(board);
    ASSERT_TRUE(board.computers[1].cleanable);
    RecordingEvents events;
    turnCellBack(board, 1, 3, events);
    EXPECT_TRUE(events.log.empty()) << "no turn, no clean, no sound on a cleanable computer";
    EXPECT_EQ(board.tile[1][3], cableTile(EndN));
    EXPECT_EQ(board.computers[1].state, Infected);

    turnCellBack(board, 2, 0, events);
    EXPECT_EQ(board.tile[2][0], cableTile(StraightNS));
    ASSERT_EQ(events.log.size(), 2u);
    EXPECT_EQ(events.log[0], "ghost back 424 204 " + std::to_string(cableTile(StraightEW)));
    EXPECT_EQ(events.log[1], "sound Click");
    turnCellBack(board, 9, 0, events);  // outside the 4 x 5 board
    EXPECT_EQ(events.log.size(), 2u);

    // A listener that does not tell the two ghosts apart gets the plain one, at the same place.
    struct PlainGhosts : RecordingEvents {
        void rotationGhostBack(int x, int y, int tile) override
        {
            BoardEvents::rotationGhostBack(x, y, tile);
        }
    } plain;
    turnCellBack(board, 2, 0, plain);
    EXPECT_EQ(plain.log.at(0), "ghost 424 204 " + std::to_string(cableTile(StraightNS)));
}

TEST(Carried, TheCellsOfACleanNetworkAndNothingCutOffOrInfected)
{
    Board board = branchedBoard();
    FrameRunner frame;
    frame.run(board);
    const std::vector<Cell> whole = {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {2, 0}, {3, 0}};
    EXPECT_EQ(carriedCells(board), whole) << "both Server halves' passes count";

    // Cut the lower branch: its cells go dark at the next floods, the rest stays.
    rotateCell(board, 1, 1);
    frame.run(board);
    const std::vector<Cell> upper = {{0, 0}, {0, 1}, {1, 0}, {2, 0}, {3, 0}};
    EXPECT_EQ(carriedCells(board), upper);
    for (const Computer& computer : board.computers)
        EXPECT_EQ(computer.reached, computer.y == 0) << computer.x << "," << computer.y;

    // A network that holds a virus carries nothing. The Server's bottom half faces the edge:
    // a network of its own, and a clean one.
    Board infected = branchedBoard(DeviceVirusComputer);
    frame.run(infected);
    const std::vector<Cell> bottomHalf = {{0, 1}};
    EXPECT_EQ(carriedCells(infected), bottomHalf);
    frame.run(infected);
    EXPECT_EQ(carriedCells(infected), bottomHalf) << "nor once it is infected";
}
