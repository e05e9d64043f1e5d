// Reads a level's board from a screenshot of the real game and prints the clicks that solve
// it, one "x y" line per click, so an end-to-end check can complete a level as a player does.
//
//   board_reader <game folder> <screenshot.png> <level index>
//
// The game mirrors a level at random and turns every piece at random. The Server's picture
// tells the mirror; each piece's orientation is the tile sheet's frame that the screenshot
// shows at the cell, compared where nothing else is drawn over it (the device pictures and
// their shadows are left out). The solution is the level as stored, mirrored when the board
// is; the clicks to reach it are counted with the game's own turn. Prints nothing when the
// board already shows the solution; ends with status 1 when the screenshot is no such board.

#include <filesystem>
#include <iostream>

#include "board/board.h"
#include "media/pictures/picture_decoders.h"
#include "media/scripted/scripted_media.h"

namespace {

constexpr int Window = 19;  // pixels from the cell centre that only the cell's own draws reach
constexpr int Tolerance = 24;

struct Rgba {
    const PixelBlock& block;
    const uint8_t* at(int x, int y) const {
        if (x < 0 || y < 0 || x >= block.width || y >= block.height) return nullptr;
        return &block.rgba[(static_cast<size_t>(y) * block.width + x) * 4];
    }
};

// Pixels of the cell a device picture or its shadow may cover: a computer's picture changes
// with its state and screen, so every frame it may show counts.
using Cover = std::array<std::array<bool, 2 * Window + 1>, 2 * Window + 1>;

Cover coverOf(const Image& tiles, std::initializer_list<int> firstAndLast) {
    Cover cover{};
    const int first = *firstAndLast.begin(), last = *(firstAndLast.end() - 1);
    for (int frame = first; frame <= last; ++frame) {
        const Rgba pixels{tiles.frames[static_cast<size_t>(frame)]};
        for (int dy = -Window; dy <= Window; ++dy)
            for (int dx = -Window; dx <= Window; ++dx)
                for (int shadow = 0; shadow <= 4; shadow += 4) {  // the shadow lies 4 pixels down-right
                    const uint8_t* p = pixels.at(28 + dx - shadow, 28 + dy - shadow);
                    if (p && p[3] != 0) cover[dy + Window][dx + Window] = true;
                }
    }
    return cover;
}

// How badly the screenshot at the cell centre disagrees with a frame of the tile sheet,
// over the frame's opaque pixels that nothing covers: 0 is a perfect match.
double mismatch(const Rgba& screen, int cx, int cy, const Image& tiles, int frame, const Cover* cover) {
    const Rgba pixels{tiles.frames[static_cast<size_t>(frame)]};
    int compared = 0, differing = 0;
    for (int dy = -Window; dy <= Window; ++dy)
        for (int dx = -Window; dx <= Window; ++dx) {
            if (cover && (*cover)[dy + Window][dx + Window]) continue;
            const uint8_t* want = pixels.at(28 + dx, 28 + dy);
            const uint8_t* got = screen.at(cx + dx, cy + dy);
            if (!want || !got || want[3] != 255) continue;
            ++compared;
            for (int channel = 0; channel < 3; ++channel)
                if (std::abs(want[channel] - got[channel]) > Tolerance) {
                    ++differing;
                    break;
                }
        }
    return compared == 0 ? 1.0 : static_cast<double>(differing) / compared;
}

// The kinds of the same shape: every orientation a scrambled piece can have.
std::vector<int> orientationsOf(int kind) {
    if (kind == StraightNS || kind == StraightEW) return {StraightNS, StraightEW};
    if (kind >= CornerNW && kind <= CornerSW) return {CornerNW, CornerNE, CornerES, CornerSW};
    if (kind >= TeeNEW && kind <= TeeNSW) return {TeeNEW, TeeNES, TeeESW, TeeNSW};
    if (kind >= EndW && kind <= EndS) return {EndW, EndN, EndE, EndS};
    return {};
}

// The same piece seen in a mirror: east and west change places.
int mirroredKind(int kind) {
    switch (kind) {
        case CornerNW: return CornerNE;
        case CornerNE: return CornerNW;
        case CornerES: return CornerSW;
        case CornerSW: return CornerES;
        case TeeNES: return TeeNSW;
        case TeeNSW: return TeeNES;
        case EndW: return EndE;
        case EndE: return EndW;
        default: return kind;
    }
}

// The board as the level build leaves it before the scramble, mirrored or not.
Board unscrambled(const MapData& mapData, int level, bool mirrored) {
    Board board;
    copyLevel(board, mapData, level);
    if (mirrored) {
        mirrorBoard(board);
        for (int column = 0; column < board.columns; ++column)
            for (int row = 0; row < board.rows; ++row) {
                const int kind = kindOfTile(board.tile[column][row]);
                if (kind != NoConnector) board.tile[column][row] = cableTile(mirroredKind(kind));
            }
        fixServerOutputs(board, board.columns, board.rows);
    }
    createDevices(board);
    return board;
}

struct QuietEvents : BoardEvents {
    void rotationGhost(int, int, int) override {}
    void sparkle(int, int, float, float) override {}
    void sound(BoardSound) override {}
};

bool solves(Board board) {
    VirusWatch watch;
    QuietEvents events;
    updateConnections(board, buildConnectorTable(), watch, events);
    return testCompletion(board);
}

int fail(const std::string& message) {
    std::cerr << "board_reader: " << message << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return fail("usage: board_reader <game folder> <screenshot.png> <level index>");
    const std::filesystem::path shotPath = std::filesystem::absolute(argv[2]);
    std::filesystem::current_path(argv[1]);
    const int level = std::stoi(argv[3]);

    ScriptedMedia media;
    std::vector<uint8_t> bytes;
    if (!media.readWholeFile(shotPath.string(), bytes)) return fail("cannot read " + shotPath.string());
    const auto shot = decodePng(bytes);
    if (!shot) return fail("not a PNG picture: " + shotPath.string());
    const Rgba screen{shot->pixels};
    const auto tiles = media.loadImageStrip("gfx/complete.spr", 56, 56, 0, TileSheetFrames);
    if (!tiles) return fail("cannot load the tile sheet");
    auto mapData = std::make_unique<MapData>();
    loadMapData(media, *mapData);

    // The Server stands in a different column in the mirror (no board has an odd width).
    const Board straight = unscrambled(*mapData, level, false);
    const Board mirror = unscrambled(*mapData, level, true);
    const auto serverMismatch = [&](const Board& board) {
        return mismatch(screen, cellCentreX(board, board.serverX), cellCentreY(board, board.serverY), *tiles,
                        ServerTopTile, nullptr) +
               mismatch(screen, cellCentreX(board, board.serverX), cellCentreY(board, board.serverY + 1), *tiles,
                        ServerBottomTile, nullptr);
    };
    const double straightServer = serverMismatch(straight), mirrorServer = serverMismatch(mirror);
    const bool mirrored = mirrorServer < straightServer;
    const Board& solution = mirrored ? mirror : straight;
    std::cerr << "server mismatch: as stored " << straightServer << ", mirrored " << mirrorServer << "\n";
    if (std::min(straightServer, mirrorServer) > 0.2) return fail("no Server where the level has one");
    if (!solves(solution)) return fail("the stored level is no solution");

    const Cover computerCover = coverOf(*tiles, {NotConnectedComputerFrame, InfectedComputerFrame});
    const Cover serverTopCover = coverOf(*tiles, {ServerTopTile});
    const Cover serverBottomCover = coverOf(*tiles, {ServerBottomTile});
    const Cover faxCover = coverOf(*tiles, {FaxModemTile, FaxModemLitTile});
    Board board = solution;
    for (int column = 0; column < board.columns; ++column)
        for (int row = 0; row < board.rows; ++row) {
            const int kind = kindOfTile(solution.tile[column][row]);
            const std::vector<int> candidates = orientationsOf(kind);
            if (candidates.empty()) continue;
            const Cover* cover = nullptr;
            const int device = solution.device[column][row];
            if (computerAt(solution, column, row)) cover = &computerCover;
            if (device == DeviceServerTop) cover = &serverTopCover;
            if (device == DeviceServerBottom) cover = &serverBottomCover;
            if (device == DeviceFaxModem) cover = &faxCover;
            double best = 2.0;
            for (int candidate : candidates) {
                const double score = mismatch(screen, cellCentreX(board, column), cellCentreY(board, row), *tiles,
                                              cableTile(candidate), cover);
                if (score < best) {
                    best = score;
                    board.tile[column][row] = cableTile(candidate);
                }
            }
            if (best > 0.25)
                return fail("cell " + std::to_string(column) + "," + std::to_string(row) + " matches no orientation");
        }

    // Each piece is turned with the game's own turn until it shows the solution's side.
    for (int column = 0; column < board.columns; ++column)
        for (int row = 0; row < board.rows; ++row) {
            int clicks = 0;
            while (board.tile[column][row] != solution.tile[column][row] && clicks < 4) {
                rotateCell(board, column, row);
                std::cout << cellCentreX(board, column) << " " << cellCentreY(board, row) << "\n";
                ++clicks;
            }
            if (board.tile[column][row] != solution.tile[column][row]) return fail("a piece never reaches its place");
        }
    return 0;
}
