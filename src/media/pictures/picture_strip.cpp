// Cutting a sheet of equal cells into frames: cells are numbered from 0, left to
// right and then top to bottom; pixels past the last whole cell are never used.

#include <algorithm>
#include <cstdint>

#include "media/pictures/picture_decoders.h"

namespace {

PixelBlock copyCell(const PixelBlock& picture, int left, int top, int cellWidth, int cellHeight) {
    PixelBlock cell;
    cell.width = cellWidth;
    cell.height = cellHeight;
    cell.rgba.resize(static_cast<size_t>(cellWidth) * cellHeight * 4);
    const size_t rowBytes = static_cast<size_t>(cellWidth) * 4;
    for (int y = 0; y < cellHeight; ++y) {
        const auto from = picture.rgba.begin() + ((static_cast<size_t>(top) + y) * picture.width + left) * 4;
        std::copy(from, from + rowBytes, cell.rgba.begin() + y * rowBytes);
    }
    return cell;
}

}  // namespace

std::optional<std::vector<PixelBlock>> cutStrip(const PixelBlock& picture, int cellWidth, int cellHeight, int firstCell,
                                                int cellCount) {
    if (cellWidth <= 0 || cellHeight <= 0 || firstCell < 0 || cellCount <= 0) return std::nullopt;
    const int cellsPerRow = picture.width / cellWidth;
    const int cellRows = picture.height / cellHeight;
    // 64 bits: neither the product nor the sum may wrap around into "it fits".
    if (int64_t{cellsPerRow} * cellRows < int64_t{firstCell} + cellCount) return std::nullopt;
    std::vector<PixelBlock> frames;
    frames.reserve(static_cast<size_t>(cellCount));
    for (int f = 0; f < cellCount; ++f) {
        const int i = firstCell + f;
        frames.push_back(
            copyCell(picture, cellWidth * (i % cellsPerRow), cellHeight * (i / cellsPerRow), cellWidth, cellHeight));
    }
    return frames;
}
