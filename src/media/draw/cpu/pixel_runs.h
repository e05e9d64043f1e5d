#pragma once
// A prepared picture frame kept small while it is not drawn: rows of 32-bit words written as
// runs of words equal to the one above, runs of one word repeated, and words as they are. The
// game's large pictures resampled to a screen's scale are almost all such runs (a background of
// 2880 x 2160 keeps about a twentieth of its 25 MB), and unpacking them is little more than
// copying memory.

#include <cstdint>
#include <vector>

struct PackedPixels {
    int width = 0, height = 0;   // in words
    std::vector<uint32_t> runs;  // see pixel_runs.cpp
};

// Packs rows of `width` words as they come, a strip at a time.
class PixelPacker {
public:
    explicit PixelPacker(int width) : width(width) { packed.width = width; }
    void addRows(const uint32_t* rows, int count);
    PackedPixels finish();

private:
    int width;
    PackedPixels packed;
    std::vector<uint32_t> lastRow;  // of the rows added so far
};

PackedPixels packPixels(const uint32_t* pixels, int width, int height);
// The words as they were packed, width x height of them, row after row.
std::vector<uint32_t> unpackPixels(const PackedPixels& packed);
// The same into `pixels`, resized to them: memory it already holds is written over.
void unpackPixelsInto(const PackedPixels& packed, std::vector<uint32_t>& pixels);
