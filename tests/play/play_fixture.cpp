#include "play_fixture.h"

#include <algorithm>
#include <functional>

namespace {

constexpr int RecordSize = 310;
constexpr int PlainTile = FirstFloorTile;  // a picture without connectors

void setCell(std::vector<uint8_t>& bytes, int level, int column, int row, int tile, int device) {
    const size_t at = static_cast<size_t>(RecordSize * level + 22 * column + 2 * row);
    bytes[at] = static_cast<uint8_t>(tile);
    bytes[at + 1] = static_cast<uint8_t>(device);
}

void writeLevel(std::vector<uint8_t>& bytes, int level, bool withComputer) {
    for (int column = 0; column < BoardColumns; ++column)
        for (int row = 0; row < BoardRows; ++row) setCell(bytes, level, column, row, PlainTile, NoDevice);
    setCell(bytes, level, 0, 0, cableTile(EndE), DeviceServerTop);
    setCell(bytes, level, 0, 1, cableTile(EndW), DeviceServerBottom);
    setCell(bytes, level, 1, 0, cableTile(StraightEW), NoDevice);
    setCell(bytes, level, 2, 0, cableTile(CornerSW), NoDevice);
    setCell(bytes, level, 2, 1, cableTile(EndN), withComputer ? DeviceComputer : NoDevice);
    bytes[static_cast<size_t>(RecordSize * level + 308)] = 0;
}

// An uncompressed 24-bit TGA of the given size, so the picture loader can tell the six apart.
std::vector<uint8_t> tinyTga(int width, int height) {
    std::vector<uint8_t> bytes(18, 0);
    bytes[2] = 2;
    bytes[12] = static_cast<uint8_t>(width);
    bytes[14] = static_cast<uint8_t>(height);
    bytes[16] = 24;
    bytes.resize(18 + static_cast<size_t>(width * height * 3), 90);
    return bytes;
}

struct SilentEvents : BoardEvents {
    void rotationGhost(int, int, int) override {}
    void sparkle(int, int, float, float) override {}
    void sound(BoardSound) override {}
};

bool allConnected(Board board, const ConnectorTable& connectors) {
    SilentEvents events;
    VirusWatch watch;
    updateConnections(board, connectors, watch, events);
    return std::all_of(board.computers.begin(), board.computers.end(), [](const Computer& c) { return c.reached; });
}

}  // namespace

SoundPtr fakeSound() {
    auto sound = std::make_shared<Sound>();
    sound->samples.assign(2 * MixRate * 60, 0);
    return sound;
}

std::vector<uint8_t> testMapData() {
    std::vector<uint8_t> bytes(static_cast<size_t>(RecordSize * LevelCount), 0);
    for (int level = 0; level < LevelCount; ++level) writeLevel(bytes, level, level != 2);
    return bytes;
}

PlayFixture::PlayFixture() {
    media.openScreen(800, 600, 0, 60, 0);
    media.seedRandom(12345);
    giveFakePictures(game.res, game.font);
    buildGlyphWidths(game.font);
    game.tables.connectors = buildConnectorTable();
    game.tables.animations = buildAnimationTable();
    game.progress.bestTimes.fill(10 * 3600);
    writeBytes(scratch.file("maps/newmapdata.cwm"), testMapData());
    for (int n = 1; n <= 6; ++n) writeBytes(scratch.file("gfx/back/b" + std::to_string(n) + ".vvx"), tinyTga(n, 2));
}

void PlayFixture::clickCell(int column, int row) {
    const int frame = media.framesPresented;
    media.moveMouse(frame, cellCentreX(game.board, column), cellCentreY(game.board, row));
    media.click(frame);
}

std::vector<CellPosition> PlayFixture::solution() const {
    std::vector<CellPosition> cells;
    for (int column = 0; column < game.board.columns; ++column)
        for (int row = 0; row < game.board.rows; ++row)
            if (game.board.tile[column][row] != PlainTile) cells.push_back({column, row});
    // Smallest number of clicks first: try every total of turns per cell.
    std::vector<CellPosition> best;
    bool found = false;
    std::vector<int> turns(cells.size(), 0);
    std::function<void(size_t)> search = [&](size_t index) {
        if (index == cells.size()) {
            Board board = game.board;
            std::vector<CellPosition> clicks;
            for (size_t i = 0; i < cells.size(); ++i)
                for (int t = 0; t < turns[i]; ++t) {
                    rotateCell(board, cells[i].column, cells[i].row);
                    clicks.push_back(cells[i]);
                }
            if (allConnected(board, game.tables.connectors) && (!found || clicks.size() < best.size())) {
                best = clicks;
                found = true;
            }
            return;
        }
        for (turns[index] = 0; turns[index] < 4; ++turns[index]) search(index + 1);
    };
    search(0);
    return best;
}

std::vector<DrawnText> PlayFixture::texts() const { return smallTexts(media.lastFrame, game.font.glyphWidths); }

std::vector<std::string> PlayFixture::textsDrawn() const {
    std::vector<std::string> lines;
    for (const DrawnText& line : texts()) lines.push_back(line.text);
    return lines;
}

bool PlayFixture::textShown(const std::string& text) const {
    const std::vector<std::string> lines = textsDrawn();
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}
