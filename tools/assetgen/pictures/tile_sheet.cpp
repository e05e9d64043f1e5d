// "gfx/complete.spr": the 120 board tiles, ten to a row.

#include "artwork.h"
#include "board/tile_codes.h"
#include "common/picture_canvas.h"
#include "tile_parts.h"

namespace {

void drawTile(cairo_t* cr, int frame) {
    if (frame < InfectedComputerFrame)
        return drawComputer(cr, frame / ComputerFramesPerState, frame % ComputerFramesPerState);
    if (frame == InfectedComputerFrame) return drawComputer(cr, 2, 0);
    if (frame < ServerTopTile) return drawCablePiece(cr, frame - CableTileBase);
    if (frame < FaxModemTile) return drawServerHalf(cr, frame - ServerTopTile);
    if (frame < FirstFloorTile) return drawFaxModem(cr, frame == FaxModemLitTile);
    drawFloor(cr, frame - FirstFloorTile);
}

}  // namespace

PixelBlock makeTileSheet(int scale) { return drawStrip(TileSize, TileSize, TileFrames, 10, scale, drawTile); }
