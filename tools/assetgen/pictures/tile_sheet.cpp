// "gfx/complete.spr": the 120 board tiles, ten to a row.

#include "artwork.h"
#include "common/picture_canvas.h"
#include "tile_parts.h"

namespace {

constexpr int ConnectedFrames = 40;
constexpr int InfectedFrame = 80;
constexpr int FirstCable = 81;
constexpr int ServerTop = 96;
constexpr int FaxModem = 98;
constexpr int FirstFloor = 100;

void drawTile(cairo_t* cr, int frame) {
    if (frame < InfectedFrame) return drawComputer(cr, frame / ConnectedFrames, frame % ConnectedFrames);
    if (frame == InfectedFrame) return drawComputer(cr, 2, 0);
    if (frame < ServerTop) return drawCablePiece(cr, frame - FirstCable);
    if (frame < FaxModem) return drawServerHalf(cr, frame - ServerTop);
    if (frame < FirstFloor) return drawFaxModem(cr, frame == FaxModem + 1);
    drawFloor(cr, frame - FirstFloor);
}

}  // namespace

PixelBlock makeTileSheet() { return drawStrip(TileSize, TileSize, TileFrames, 10, drawTile); }
