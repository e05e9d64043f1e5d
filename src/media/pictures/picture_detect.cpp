// Pictures are recognised by content, never by their file name: the game's ".spr"
// and ".vvx" files are ordinary pictures. Each decoder starts from the first byte.

#include "media/pictures/picture_decoders.h"

std::optional<DecodedPicture> decodePicture(std::span<const uint8_t> bytes) {
    // TGA has no magic number, so it goes first and rejects anything its header rules out.
    if (auto picture = decodeTga(bytes)) return picture;
    if (auto picture = decodePng(bytes)) return picture;
    if (auto picture = decodeJpeg(bytes)) return picture;
    return decodeBmp(bytes);
}

DecodedPicture blankPicture(int width, int height, bool hasAlpha) {
    DecodedPicture picture;
    picture.pixels.width = width;
    picture.pixels.height = height;
    picture.pixels.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
    picture.hasAlpha = hasAlpha;
    return picture;
}
