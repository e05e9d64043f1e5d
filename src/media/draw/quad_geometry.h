#pragma once
// Where a drawn picture lands on the screen, and whether it can show at all.
// Shared by every drawing path so they agree on what they skip and how they sample.

#include "media/draw/draw_state.h"
#include "media/pictures/image.h"

struct ScreenPoint {
    float x = 0, y = 0;
};

// The rectangle (left, top)-(right, bottom) relative to the drawing position (x, y),
// turned and scaled by the draw matrix. Corners: top-left, top-right, bottom-left, bottom-right.
struct Quad {
    ScreenPoint corners[4];
};
Quad placeQuad(const DrawState& draw, float x, float y, float left, float top, float right, float bottom);

// Which pixels a quad covers, by the rule of the rasteriser that OpenGL follows here (Mesa's
// llvmpipe under SDL's renderer): those whose centre lies inside it. A centre exactly on an
// edge is inside on a left or a bottom edge and outside on a right or a top edge, so quads
// that share an edge never both draw a pixel. Corners are first put on the rasteriser's grid
// of 1/256 pixel.
struct PixelRange {
    int first = 0, end = 0;  // first..end-1
};
// The first column whose centre lies on or right of a left edge.
int firstColumn(float left);
// The first row whose centre lies below a top edge.
int firstRow(float top);
// The columns of one row that a quad covers, turned or not; empty when none.
PixelRange coveredColumns(const Quad& quad, int row);

// The pixels a quad covers lie in this box, clipped to the screen; an upright quad covers it
// all. Empty when nothing shows.
struct PixelBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x0..x1-1, y0..y1-1
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    int width() const { return x1 - x0; }
    int height() const { return y1 - y0; }
};
PixelBox pixelBox(const Quad& quad, int screenWidth, int screenHeight);

// True when the draw state leaves a picture's pixels as they are: no scale, no turn.
bool untransformed(const DrawState& draw);
// An untransformed picture whose edges fall on whole pixels: sampling nearest looks the same
// as sampling smoothly, and costs less.
bool onWholePixels(const DrawState& draw, float left, float top);

// The alpha byte the draw uses: masked drawing is opaque or nothing.
int drawAlphaByte(const DrawState& draw);
// False for quads that change no pixel: fully transparent, additive black, or squashed flat.
bool quadCanShow(const DrawState& draw);

// The smallest rectangle of a frame holding every pixel with any alpha, in the frame's
// pixels (x0..x1-1, y0..y1-1); empty for a clear frame. Opaque when every pixel of the
// frame has full alpha.
struct InkBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool opaque = false;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
};
InkBox inkBox(const PixelBlock& frame);
// True where a clear pixel leaves the screen as it is (blending, adding light, masking):
// there a quad may shrink to its frame's ink with the same result.
bool clearPixelsLeaveScreenAlone(BlendMode mode);
// The ink grown by the texel that smooth sampling reads beside each edge (not when every
// pixel centre meets a texel centre), kept inside the frame.
InkBox sampledInk(const InkBox& ink, bool onWholePixels, int frameWidth, int frameHeight);
