// The map data on arbitrary bytes: the start-up check, then levels built, flooded and
// clicked as the game would, whether the check passed or not (a file may change
// between start-up and a level start).

#include "board/board.h"
#include "fuzz_support.h"
#include "media/scripted/scripted_media.h"

namespace {

struct QuietEvents : BoardEvents {
    void rotationGhost(int, int, int) override {}
    void sparkle(int, int, float, float) override {}
    void sound(BoardSound) override {}
};

// The level build after the file is read, then a click on every cell of the active
// area, each followed by the connection update, the FaxModem step and the completion test.
void playLevel(Board& board, const MapData& mapData, int level, MediaLayer& media, const ConnectorTable& connectors) {
    board.computerCount = 0;
    copyLevel(board, mapData, level);
    if (media.randomInt(0, 1) == 1) mirrorBoard(board);
    scrambleBoard(board, media.randomGenerator());
    fixServerOutputs(board, board.columns, board.rows);
    createDevices(board);
    QuietEvents events;
    VirusWatch watch;
    int rankPoints = 0;
    for (int column = 0; column < board.columns; ++column) {
        for (int row = 0; row < board.rows; ++row) {
            updateConnections(board, connectors, watch, events);
            stepFaxModems(board, events);
            testCompletion(board);
            pointerOverCleanable(board, {column, row});
            leftClickCell(board, column, row, rankPoints, events);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enterScratchFolder();
    writeFile("maps/newmapdata.cwm", std::span<const uint8_t>(data, size));
    static ScriptedMedia media;
    static const ConnectorTable connectors = buildConnectorTable();
    const bool valid = mapDataFault(std::span<const uint8_t>(data, size)).empty();
    try {
        checkMapData(media);
        if (!valid) __builtin_trap();  // the check and the file check must agree
    } catch (const FatalError&) {
        if (valid) __builtin_trap();
    }
    media.seedRandom(static_cast<int>(size));
    auto mapData = std::make_unique<MapData>();
    auto board = std::make_unique<Board>();
    // Once through the game's own reading of the file, then levels from across the
    // records, the one past the end included.
    loadMapData(media, *mapData);
    buildLevel(*board, *mapData, static_cast<int>(size % LevelCount), media.randomGenerator());
    for (int level : {0, static_cast<int>(size / 7 % LevelCount), LevelCount - 1, LevelCount})
        playLevel(*board, *mapData, level, media, connectors);
    return 0;
}
