#pragma once
// A picture file's pixels as the game draws them, and the large pictures kept as their file
// until a drawing path asks for their pixels.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "media/pictures/image.h"

// A single picture of more pixels than the whole 800 x 600 screen at scale 1 (the backgrounds
// and the board's backdrops of the sets of scale 2 and 3) is kept as its file.
constexpr int64_t KeptAsFileAbovePixels = int64_t{800} * 600;

// The pixels of a picture file: decoded by content, and masked when its format has no alpha
// of its own and the flags ask for the mask. Nothing for bytes that are no picture.
std::optional<PixelBlock> picturePixels(std::span<const uint8_t> bytes, int flags);

bool everyPixelOpaque(const PixelBlock& pixels);

// The frames of a picture while a drawing path makes its own form of them: the picture's own,
// or those of a picture kept as its file, decoded for the while and let go with this.
class FramePixels {
public:
    explicit FramePixels(const Image& image);
    const PixelBlock& operator[](int index) const { return (*frames)[index]; }
    int count() const { return static_cast<int>(frames->size()); }

private:
    std::vector<PixelBlock> decoded;
    const std::vector<PixelBlock>* frames;
};
