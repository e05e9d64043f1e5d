// The flood expands each wave from a list of the cells marked for it. This checks it
// against the plain form, fifty full scans of the active area per pass, on random
// boards over several frames with turns in between: same marks, records and events.

#include <gtest/gtest.h>

#include "board/board_fixture.h"
#include "media/scripted/scripted_media.h"

namespace {

void plainExpand(Board& board, const ConnectorTable& table, int x, int y, int q, bool& revealed, VirusWatch& watch,
                 BoardEvents& events)
{
    const int k = kindOfTile(board.tile[x][y]);
    if (board.device[x][y] == DeviceFaxModem) {
        for (FaxModem& f : board.faxModems)
            f.active = 1;
        for (int i = 0; i < board.columns; ++i)
            for (int j = 0; j < board.rows; ++j)
                if (board.device[i][j] == DeviceFaxModem && board.DepthGrid[i][j] == 0)
                    board.DepthGrid[i][j] = q + 1;
    }
    if (board.device[x][y] == DeviceComputer) {
        for (Computer& c : board.computers) {
            if (c.x != x || c.y != y)
                continue;
            if (c.state != Infected) {
                if (c.hasVirus == 1) {
                    c.hasVirus = 0;
                    revealed = true;
                    events.sound(BoardSound::Virus);
                    if (!watch.virusRevealed)
                        watch = {true, 0};
                }
                c.state = Connected;
                c.reached = 1;
                if (c.wasConnected == 0) {
                    c.animId = 0, c.animTicksLeft = 80, c.animFrame = 0, c.animPos = 0.0f;
                }
            } else {
                revealed = true;
                c.cleanable = 1;
            }
        }
    }
    const int dx[] = {0, 1, 0, -1}, dy[] = {-1, 0, 1, 0};
    for (int s = 0; s < 4; ++s) {
        const int nx = x + dx[s], ny = y + dy[s];
        if (nx < 0 || ny < 0 || nx >= board.columns || ny >= board.rows)
            continue;
        if (table.open[k][s] == 1 && table.open[kindOfTile(board.tile[nx][ny])][(s + 2) % 4] == 1 &&
            board.DepthGrid[nx][ny] == 0)
            board.DepthGrid[nx][ny] = q + 1;
    }
}

void plainFlood(Board& board, const ConnectorTable& table, int sx, int sy, VirusWatch& watch, BoardEvents& events)
{
    bool revealed = false;
    for (int x = 0; x < board.columns; ++x)
        for (int y = 0; y < board.rows; ++y)
            board.DepthGrid[x][y] = 0;
    if (insideActiveArea(board, sx, sy))
        board.DepthGrid[sx][sy] = 1;
    for (int q = 1; q <= 50; ++q)
        for (int x = 0; x < board.columns; ++x)
            for (int y = 0; y < board.rows; ++y)
                if (board.DepthGrid[x][y] == q)
                    plainExpand(board, table, x, y, q, revealed, watch, events);
    if (!revealed)
        return;
    for (Computer& c : board.computers) {
        if (c.reached != 1)
            continue;
        c.state = Infected, c.reached = 0;
        c.animId = 0, c.animTicksLeft = 0, c.animFrame = 0, c.animPos = 0.0f;
        events.sparkle(cellCentreX(board, c.x), cellCentreY(board, c.y), 0.5f, 0.5f);
        events.sparkle(cellCentreX(board, c.x), cellCentreY(board, c.y), 0.9f, 0.2f);
    }
}

Board randomBoard(ScriptedMedia& media)
{
    Board board = emptyBoard(media.randomInt(0, 3));
    const int devices[] = {DeviceComputer, DeviceVirusComputer, DeviceFaxModem, NoDevice, NoDevice, NoDevice};
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            board.tile[c][r] = media.randomInt(CableTileBase - 2, ServerBottomTile);
            board.device[c][r] = devices[media.randomInt(0, 5)];
        }
    }
    placeServer(board, media.randomInt(0, board.columns - 1), media.randomInt(0, board.rows - 1), cableTile(EndE),
                cableTile(EndW));
    createDevices(board);
    return board;
}

std::string recordsOf(const Board& board)
{
    std::string text;
    for (const Computer& c : board.computers)
        text += std::to_string(c.state) + std::to_string(c.reached) + std::to_string(c.cleanable) +
                std::to_string(c.hasVirus) + std::to_string(c.animTicksLeft) + ",";
    for (const FaxModem& f : board.faxModems)
        text += std::to_string(f.active);
    return text;
}

TEST(FloodOracle, WaveListsMatchFullScans)
{
    ScriptedMedia media;
    media.seedRandom(987654321);
    const ConnectorTable table = buildConnectorTable();
    int reveals = 0, connections = 0, relays = 0;  // the random boards must exercise every rule
    for (int trial = 0; trial < 200; ++trial) {
        Board fast = randomBoard(media);
        Board plain = fast;
        VirusWatch fastWatch, plainWatch;
        RecordingEvents fastEvents, plainEvents;
        for (int frame = 0; frame < 6; ++frame) {
            for (int pass = 0; pass < 2; ++pass) {
                if (pass == 0)
                    resetReach(fast), resetReach(plain);
                floodFromServer(fast, table, fast.serverX, fast.serverY + pass, fastWatch, fastEvents);
                plainFlood(plain, table, plain.serverX, plain.serverY + pass, plainWatch, plainEvents);
                ASSERT_EQ(fast.DepthGrid, plain.DepthGrid) << "trial " << trial << " frame " << frame;
            }
            settleComputers(fast);
            settleComputers(plain);
            ASSERT_EQ(recordsOf(fast), recordsOf(plain)) << "trial " << trial << " frame " << frame;
            ASSERT_EQ(fastEvents.log, plainEvents.log);
            ASSERT_EQ(fastWatch.virusRevealed, plainWatch.virusRevealed);
            for (const Computer& computer : fast.computers)
                connections += computer.state == Connected;
            for (const FaxModem& faxModem : fast.faxModems)
                relays += faxModem.active;
            const int c = media.randomInt(0, fast.columns - 1), r = media.randomInt(0, fast.rows - 1);
            rotateCell(fast, c, r);
            rotateCell(plain, c, r);
        }
        reveals += fastEvents.count("sound Virus");
    }
    EXPECT_GT(reveals, 20);
    EXPECT_GT(connections, 100);
    EXPECT_GT(relays, 50);
}

}  // namespace
