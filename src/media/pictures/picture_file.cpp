#include "media/pictures/picture_file.h"

#include "media/pictures/picture_decoders.h"

std::optional<PixelBlock> picturePixels(std::span<const uint8_t> bytes, int flags) {
    std::optional<DecodedPicture> picture = decodePicture(bytes);
    if (!picture) return std::nullopt;
    // Pictures with their own alpha channel keep it; only the others are masked.
    if ((flags & ImageMasked) && !picture->hasAlpha) applyMask(picture->pixels);
    return std::move(picture->pixels);
}

bool everyPixelOpaque(const PixelBlock& pixels) {
    for (size_t i = 3; i < pixels.rgba.size(); i += 4)
        if (pixels.rgba[i] != 255) return false;
    return true;
}

FramePixels::FramePixels(const Image& image) : frames(&image.frames) {
    if (!image.file) return;
    // The same bytes decoded as when the picture was loaded, which they passed; clear pixels
    // of its size all the same should that ever change.
    std::optional<PixelBlock> pixels = picturePixels(image.file->bytes, image.flags);
    const int width = image.width * image.pixelScale, height = image.height * image.pixelScale;
    if (!pixels || pixels->width != width || pixels->height != height)
        pixels = PixelBlock{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4, 0)};
    decoded.push_back(std::move(*pixels));
    frames = &decoded;
}
