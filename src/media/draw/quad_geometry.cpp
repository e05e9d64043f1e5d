#include "media/draw/quad_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

Quad placeQuad(const DrawState& draw, float x, float y, float left, float top, float right, float bottom) {
    const float points[4][2] = {{left, top}, {right, top}, {left, bottom}, {right, bottom}};
    Quad quad;
    for (int i = 0; i < 4; ++i) {
        const float px = points[i][0], py = points[i][1];
        quad.corners[i] = ScreenPoint{x + px * draw.ix + py * draw.iy, y + px * draw.jx + py * draw.jy};
    }
    return quad;
}

namespace {

// The rasteriser's grid: 256 steps to a pixel, so pixel centres fall on 128 + 256k.
constexpr int64_t GridSteps = 256;
// Far beyond any screen, yet small enough that products of two stay inside 64 bits.
constexpr float GridLimit = 1 << 22;

int64_t onGrid(float coordinate) {
    return std::llrint(std::clamp(coordinate, -GridLimit, GridLimit) * static_cast<float>(GridSteps));
}

int64_t floorDivide(int64_t value, int64_t divisor) {  // divisor > 0
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

// The first column whose centre lies on or right of x = numerator / denominator grid steps.
int columnFrom(int64_t numerator, int64_t denominator) {
    // centre 256k + 128 >= x  <=>  k >= (x - 128) / 256
    const int64_t shifted = numerator - (GridSteps / 2) * denominator;
    return static_cast<int>(-floorDivide(-shifted, GridSteps * denominator));
}

}  // namespace

int firstColumn(float left) { return columnFrom(onGrid(left), 1); }

int firstRow(float top) {
    // centre 256k + 128 > y  <=>  k > (y - 128) / 256
    return static_cast<int>(floorDivide(onGrid(top) - GridSteps / 2, GridSteps) + 1);
}

PixelRange coveredColumns(const Quad& quad, int row) {
    // Around the outline: top-left, top-right, bottom-right, bottom-left.
    const ScreenPoint* order[4] = {&quad.corners[0], &quad.corners[1], &quad.corners[3], &quad.corners[2]};
    const int64_t centre = row * GridSteps + GridSteps / 2;
    PixelRange span{0, 0};
    bool crossed = false;
    for (int i = 0; i < 4; ++i) {
        int64_t xa = onGrid(order[i]->x), ya = onGrid(order[i]->y);
        int64_t xb = onGrid(order[(i + 1) % 4]->x), yb = onGrid(order[(i + 1) % 4]->y);
        if (ya == yb) continue;
        if (ya > yb) std::swap(xa, xb), std::swap(ya, yb);
        // A centre on the lower end of an edge belongs to it, one on the upper end does not:
        // a centre on a bottom edge is inside, one on a top edge outside.
        if (centre <= ya || centre > yb) continue;
        // Where the row's centre line crosses the edge: x = numerator / (yb - ya).
        const int64_t numerator = xa * (yb - ya) + (centre - ya) * (xb - xa);
        const int column = columnFrom(numerator, yb - ya);
        span =
            crossed ? PixelRange{std::min(span.first, column), std::max(span.end, column)} : PixelRange{column, column};
        crossed = true;
    }
    return span;
}

PixelBox pixelBox(const Quad& quad, int screenWidth, int screenHeight) {
    float minX = quad.corners[0].x, maxX = minX, minY = quad.corners[0].y, maxY = minY;
    for (const ScreenPoint& corner : quad.corners) {
        minX = std::min(minX, corner.x), maxX = std::max(maxX, corner.x);
        minY = std::min(minY, corner.y), maxY = std::max(maxY, corner.y);
    }
    PixelBox box;
    box.x0 = std::max(firstColumn(minX), 0), box.x1 = std::min(firstColumn(maxX), screenWidth);
    box.y0 = std::max(firstRow(minY), 0), box.y1 = std::min(firstRow(maxY), screenHeight);
    return box;
}

bool untransformed(const DrawState& draw) {
    return draw.ix == 1.0f && draw.jy == 1.0f && draw.iy == 0.0f && draw.jx == 0.0f;
}

bool onWholePixels(const DrawState& draw, float left, float top) {
    return untransformed(draw) && std::floor(left) == left && std::floor(top) == top;
}

int drawAlphaByte(const DrawState& draw) { return draw.blend == BlendMode::Mask ? 255 : alphaByte(draw.alpha); }

bool quadCanShow(const DrawState& draw) {
    if (draw.scaleX == 0.0f || draw.scaleY == 0.0f) return false;
    const bool blended = draw.blend == BlendMode::Alpha || draw.blend == BlendMode::Light;
    if (blended && drawAlphaByte(draw) == 0) return false;
    const Colour& c = draw.colour;
    const bool black = clampChannel(c.r) == 0 && clampChannel(c.g) == 0 && clampChannel(c.b) == 0;
    return !(draw.blend == BlendMode::Light && black);
}

InkBox inkBox(const PixelBlock& frame) {
    InkBox box{frame.width, frame.height, 0, 0, true};
    for (int y = 0; y < frame.height; ++y) {
        const uint8_t* row = &frame.rgba[static_cast<size_t>(y) * frame.width * 4];
        for (int x = 0; x < frame.width; ++x) {
            box.opaque = box.opaque && row[x * 4 + 3] == 255;
            if (row[x * 4 + 3] == 0) continue;
            box.x0 = std::min(box.x0, x), box.x1 = std::max(box.x1, x + 1);
            box.y0 = std::min(box.y0, y), box.y1 = std::max(box.y1, y + 1);
        }
    }
    return box.empty() ? InkBox{} : box;
}

bool clearPixelsLeaveScreenAlone(BlendMode mode) {
    return mode == BlendMode::Alpha || mode == BlendMode::Light || mode == BlendMode::Mask;
}

InkBox sampledInk(const InkBox& ink, bool onWholePixels, int frameWidth, int frameHeight) {
    if (ink.empty() || onWholePixels) return ink;
    return InkBox{std::max(ink.x0 - 1, 0), std::max(ink.y0 - 1, 0), std::min(ink.x1 + 1, frameWidth),
                  std::min(ink.y1 + 1, frameHeight)};
}
