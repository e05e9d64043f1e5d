// The mask colour: pictures without alpha mark their see-through parts in pure black.
// A masked pixel keeps no black of its own; it takes the average colour of the
// picture around it, so bilinear filtering at its edge fades toward the picture.

#include "media/pictures/picture_decoders.h"

namespace {

bool isMaskColour(const uint8_t* pixel) { return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0; }

// Average of the up-to-eight neighbours that are not mask-coloured, read from the
// original pixels; 0, 0, 0 when there are none.
void averageNeighbours(const PixelBlock& original, int x, int y, uint8_t* out) {
    int sums[3] = {0, 0, 0};
    int count = 0;
    for (int ny = y - 1; ny <= y + 1; ++ny) {
        for (int nx = x - 1; nx <= x + 1; ++nx) {
            if (nx < 0 || ny < 0 || nx >= original.width || ny >= original.height || (nx == x && ny == y)) continue;
            const uint8_t* neighbour = &original.rgba[(static_cast<size_t>(ny) * original.width + nx) * 4];
            if (isMaskColour(neighbour)) continue;
            for (int c = 0; c < 3; ++c) sums[c] += neighbour[c];
            ++count;
        }
    }
    for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>(count == 0 ? 0 : sums[c] / count);
}

}  // namespace

void applyMask(PixelBlock& pixels) {
    const PixelBlock original = pixels;
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            uint8_t* pixel = &pixels.rgba[(static_cast<size_t>(y) * pixels.width + x) * 4];
            if (!isMaskColour(pixel)) {
                pixel[3] = 255;
                continue;
            }
            averageNeighbours(original, x, y, pixel);
            pixel[3] = 0;
        }
    }
}
