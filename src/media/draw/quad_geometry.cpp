#include "media/draw/quad_geometry.h"

#include <algorithm>
#include <cmath>

Quad placeQuad(const DrawState& draw, float x, float y, float left, float top, float right, float bottom) {
    const float points[4][2] = {{left, top}, {right, top}, {left, bottom}, {right, bottom}};
    Quad quad;
    for (int i = 0; i < 4; ++i) {
        const float px = points[i][0], py = points[i][1];
        quad.corners[i] = ScreenPoint{x + px * draw.ix + py * draw.iy, y + px * draw.jx + py * draw.jy};
    }
    return quad;
}

PixelBox pixelBox(const Quad& quad, int screenWidth, int screenHeight) {
    float minX = quad.corners[0].x, maxX = minX, minY = quad.corners[0].y, maxY = minY;
    for (const ScreenPoint& corner : quad.corners) {
        minX = std::min(minX, corner.x), maxX = std::max(maxX, corner.x);
        minY = std::min(minY, corner.y), maxY = std::max(maxY, corner.y);
    }
    // A pixel is touched when its centre lies inside; one pixel more on each side is safe.
    PixelBox box;
    box.x0 = static_cast<int>(std::max(std::floor(minX), -1.0f));
    box.y0 = static_cast<int>(std::max(std::floor(minY), -1.0f));
    box.x1 = static_cast<int>(std::min(std::ceil(maxX), static_cast<float>(screenWidth) + 1));
    box.y1 = static_cast<int>(std::min(std::ceil(maxY), static_cast<float>(screenHeight) + 1));
    box.x0 = std::max(box.x0, 0), box.y0 = std::max(box.y0, 0);
    box.x1 = std::min(box.x1, screenWidth), box.y1 = std::min(box.y1, screenHeight);
    return box;
}

bool untransformed(const DrawState& draw) {
    return draw.ix == 1.0f && draw.jy == 1.0f && draw.iy == 0.0f && draw.jx == 0.0f;
}

int landingPixel(float edge) { return static_cast<int>(std::floor(edge + 0.5f)); }

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
