#pragma once
// Pictures sampled smoothly by the compositor's own code, as pixman's bilinear filter samples
// them: each frame pixel's centre mapped back into the picture and its four nearest pixels
// mixed by distance (beyond an edge, the edge pixel again).
// - `SmoothScaler`: a picture enlarged upright (the sparkles, grown to 4.5 times; a frame
//   composed at scale 2 stretched to a 4K window), in two passes: across each picture row it
//   needs, once, then down between two such rows for every frame row they serve.
// - `sampleTurnedRow`: a turned picture (a rotation ghost), one frame row at a time, only
//   where its outline covers the row.

#include <cstdint>
#include <vector>

// Premultiplied 0xAARRGGBB pixels of a picture, rows `stride` words apart.
struct PictureRows {
    const uint32_t* pixels = nullptr;
    int width = 0, height = 0, stride = 0;
};

// Frame pixel to picture pixel, in 16.16 fixed point, along each axis: picture coordinate =
// frame coordinate * scale + offset (both taken at pixel centres).
struct UprightMapping {
    int32_t scaleX = 0, offsetX = 0, scaleY = 0, offsetY = 0;
};

// Frame pixel to picture pixel for a picture turned as well, 16.16 fixed point: picture
// (u, v) = (xx * x + xy * y + x0, yx * x + yy * y + y0) for a frame pixel centre (x, y).
struct TurnedMapping {
    int32_t xx = 0, xy = 0, x0 = 0, yx = 0, yy = 0, y0 = 0;
};

// Frame pixels first..end-1 of frame row `row` sampled smoothly from a turned picture into
// `into` (which holds the first of them); beyond the picture's edges, its edge pixels again.
void sampleTurnedRow(const PictureRows& picture, const TurnedMapping& mapping, int row, int first, int end,
                     uint32_t* into);

class SmoothScaler {
public:
    // Columns x0..x0+width-1 and rows y0..y0+height-1 of the frame, sampled from the picture,
    // into `height` rows of `width` pixels, `intoStride` words apart. `straightToMemory` for
    // rows that nothing here reads again (a window's): written past the cache.
    void scale(const PictureRows& picture, const UprightMapping& mapping, int x0, int y0, int width, int height,
               uint32_t* into, int intoStride, bool straightToMemory = false);

private:
    // One picture row mixed across into the frame's columns: four 16-bit channels a pixel.
    void mixAcross(const PictureRows& picture, int row, std::vector<uint16_t>& into, int width);

    // Per frame column: the picture columns either side of its centre, and how much of the
    // right one goes in (of 128), once for each channel.
    std::vector<int> leftColumn, rightColumn;
    std::vector<uint16_t> rightParts;
    std::vector<uint16_t> upper, lower;  // the two picture rows mixed across
};
