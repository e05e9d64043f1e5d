// The grid, the open sides of every piece, the quarter turn and the click.

#include <gtest/gtest.h>

#include "board/board_fixture.h"

namespace {

TEST(ConnectorTable, EachTurnMovesEveryOpenSideOneStepClockwise)
{
    const ConnectorTable table = buildConnectorTable();
    for (int kind = 0; kind < NoConnector; ++kind) {
        Board board = emptyBoard(0);
        board.tile[0][0] = kind + CableTileBase;
        rotateCell(board, 0, 0);
        const int turned = kindOfTile(board.tile[0][0]);
        for (int side = North; side <= West; ++side) {
            EXPECT_EQ(table.open[turned][(side + 1) % 4], table.open[kind][side]) << "kind " << kind;
        }
    }
    EXPECT_EQ(table.open[NoConnector], (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(kindOfTile(0), NoConnector);
    EXPECT_EQ(kindOfTile(InfectedComputerFrame), NoConnector);
    EXPECT_EQ(kindOfTile(ServerTopTile), NoConnector);
    EXPECT_EQ(kindOfTile(cableTile(EndS)), EndS);
}

TEST(RotateCell, GroupsCycleAndPicturesStay)
{
    struct Case {
        int tile;
        int turnsBack;
    };
    for (const Case& test : {Case{cableTile(StraightNS), 2}, Case{cableTile(CornerNE), 4}, Case{cableTile(TeeNES), 4},
                             Case{cableTile(EndN), 4}}) {
        Board board = emptyBoard(0);
        board.tile[2][3] = test.tile;
        for (int turn = 1; turn <= test.turnsBack; ++turn) {
            rotateCell(board, 2, 3);
            EXPECT_EQ(board.tile[2][3] == test.tile, turn == test.turnsBack) << test.tile << " turn " << turn;
        }
    }
    const int stills[] = {cableTile(Cross), ServerTopTile, FirstFloorTile + 19, 0, 50};
    for (const int still : stills) {
        Board board = emptyBoard(0);
        board.tile[0][0] = still;
        rotateCell(board, 0, 0);
        EXPECT_EQ(board.tile[0][0], still);
    }
}

TEST(RotateCell, ServerHalvesNeverFaceEachOther)
{
    Board board = emptyBoard(0);
    placeServer(board, 1, 1, cableTile(EndW), cableTile(EndW));
    std::vector<int> top, bottom;
    for (int turn = 0; turn < 3; ++turn) {
        rotateCell(board, 1, 1);
        rotateCell(board, 1, 2);
        top.push_back(board.tile[1][1]);
        bottom.push_back(board.tile[1][2]);
    }
    EXPECT_EQ(top, (std::vector<int>{cableTile(EndN), cableTile(EndE), cableTile(EndW)}));
    EXPECT_EQ(bottom, (std::vector<int>{cableTile(EndE), cableTile(EndS), cableTile(EndW)}));
}

TEST(Geometry, PointerToCellAndBack)
{
    const Board board = emptyBoard(0);  // 4 x 5 at (304, 180)
    EXPECT_EQ(cellUnderPointer(board, 304, 180).column, 0);
    const CellPosition last = cellUnderPointer(board, 304 + 4 * 48 - 1, 180 + 5 * 48 - 1);
    EXPECT_EQ(last.column, 3);
    EXPECT_EQ(last.row, 4);
    for (const auto& [x, y] :
         {std::pair{303, 200}, {257, 200}, {320, 179}, {320, 133}, {304 + 192, 200}, {320, 180 + 240}, {-5, -5}}) {
        EXPECT_FALSE(cellUnderPointer(board, x, y).valid()) << x << "," << y;
    }
    EXPECT_EQ(cellCentreX(board, 3), 304 + 3 * 48 + 24);
    EXPECT_EQ(cellCentreY(board, 4), 180 + 4 * 48 + 24);
}

TEST(LeftClick, TurnsEveryOnBoardCellWithGhostAndClick)
{
    Board board = emptyBoard(0);
    board.tile[0][0] = cableTile(Cross);  // a Cross does not turn, but the click still shows
    board.tile[3][4] = cableTile(CornerES);
    RecordingEvents events;
    int rankPoints = 0;
    leftClickCell(board, 0, 0, rankPoints, events);
    leftClickCell(board, 3, 4, rankPoints, events);
    leftClickCell(board, 4, 0, rankPoints, events);  // off the board: nothing
    const std::vector<std::string> expected = {"ghost 328 204 91", "sound Click", "ghost 472 396 85", "sound Click"};
    EXPECT_EQ(events.log, expected);
    EXPECT_EQ(board.tile[0][0], cableTile(Cross));
    EXPECT_EQ(board.tile[3][4], cableTile(CornerSW));
}

}  // namespace
