#pragma once
// A picture cut into one or more frames of equal size.

#include <cstdint>
#include <memory>
#include <vector>

// Bit set given when loading; -1 means the defaults (Masked + Filtered).
constexpr int ImageMasked = 1;
constexpr int ImageFiltered = 2;
constexpr int ImageDefaultFlags = ImageMasked | ImageFiltered;

// Pixels as bytes R, G, B, A, row by row from the top.
struct PixelBlock {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
};

// What a drawing backend keeps of a whole picture (all its frames), made the first time it is drawn.
struct TextureSlot {
    virtual ~TextureSlot() = default;
};

struct Image {
    int width = 0, height = 0;  // size of one frame
    float handleX = 0.0f, handleY = 0.0f;
    int flags = ImageDefaultFlags;
    std::vector<PixelBlock> frames;
    mutable std::unique_ptr<TextureSlot> texture;  // empty until the picture is first drawn

    int frameCount() const { return static_cast<int>(frames.size()); }
};
