// One frame's connection work on a full 14 x 11 board: reset, both floods, settle,
// FaxModem blink and completion test. The goal is well under 20 microseconds.

#include <benchmark/benchmark.h>

#include "board/board.h"

namespace {

struct SilentEvents : BoardEvents {
    void rotationGhost(int, int, int) override {}
    void sparkle(int, int, float, float) override {}
    void sound(BoardSound) override {}
};

// Every row a bus of tees off a spine in column 1, with a computer at the end of each
// row, FaxModems on both sides and crosses filling the middle: most cells are reached.
Board fullBoard() {
    Board board;
    board.columns = BoardColumns;
    board.rows = BoardRows;
    board.originX = 64;
    board.originY = 36;
    for (auto& column : board.device) column.fill(NoDevice);
    board.device[0][0] = DeviceServerTop;
    board.tile[0][0] = cableTile(EndE);
    board.device[0][1] = DeviceServerBottom;
    board.tile[0][1] = cableTile(EndE);
    for (int row = 0; row < BoardRows; ++row) {
        board.tile[1][row] = cableTile(Cross);
        for (int column = 2; column < BoardColumns - 1; ++column) {
            board.tile[column][row] = cableTile(column % 3 == 0 ? Cross : TeeESW);
        }
        board.tile[BoardColumns - 1][row] = cableTile(EndW);
        board.device[BoardColumns - 1][row] = DeviceComputer;
    }
    for (int row = 2; row < BoardRows; row += 2) {
        board.tile[0][row] = cableTile(EndE);
        board.device[0][row] = row % 4 == 0 ? DeviceFaxModem : DeviceComputer;
    }
    createDevices(board);
    return board;
}

void connectionFrame(benchmark::State& state) {
    Board board = fullBoard();
    const ConnectorTable connectors = buildConnectorTable();
    VirusWatch watch;
    SilentEvents events;
    for (auto _ : state) {
        updateConnections(board, connectors, watch, events);
        stepFaxModems(board, events);
        benchmark::DoNotOptimize(testCompletion(board));
        board.computerCount = static_cast<int>(board.computers.size());
    }
    state.counters["computers"] = static_cast<double>(board.computers.size());
    state.counters["faxModems"] = static_cast<double>(board.faxModems.size());
}
BENCHMARK(connectionFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
