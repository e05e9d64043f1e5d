// Loading a picture by content, as the game does: every decoder in turn, the mask for
// pictures without alpha, then cutting it into the cells of each strip the game uses.

#include <array>

#include "media/pictures/picture_decoders.h"

namespace {

struct StripShape {
    int cellWidth, cellHeight, cellCount;
};

constexpr std::array<StripShape, 6> GameStrips = {
    {{23, 32, 2}, {56, 56, 120}, {13, 13, 90}, {46, 64, 11}, {281, 57, 7}, {1, 1, 4}}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto picture = decodePicture(std::span<const uint8_t>(data, size));
    if (!picture) return 0;
    if (!picture->hasAlpha) applyMask(picture->pixels);
    for (const StripShape& shape : GameStrips) {
        auto frames = cutStrip(picture->pixels, shape.cellWidth, shape.cellHeight, 0, shape.cellCount);
        if (frames && frames->size() != static_cast<size_t>(shape.cellCount)) __builtin_trap();
    }
    return 0;
}
