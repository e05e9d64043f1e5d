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

// Backend texture of one frame, made the first time the frame is drawn.
struct TextureSlot {
    virtual ~TextureSlot() = default;
};

struct Image {
    int width = 0, height = 0;   // size of one frame
    int frameCount = 0;
    float handleX = 0.0f, handleY = 0.0f;
    int flags = ImageDefaultFlags;
    std::vector<PixelBlock> frames;
    mutable std::vector<std::unique_ptr<TextureSlot>> textures;  // the backend's textures, made when first drawn
};
