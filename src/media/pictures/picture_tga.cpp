// TGA pictures: uncompressed (type 2) or run-length coded (type 10) true colour
// at 15, 16, 24 or 32 bits. Rows are always taken as stored bottom-up; the origin
// bit of the descriptor is ignored, as the game's own pictures are written that way.

#include <cstddef>

#include "media/pictures/picture_decoders.h"

namespace {

constexpr size_t HeaderSize = 18;
constexpr int MaxSide = MaxPictureSide;

struct TgaHeader {
    size_t pixelStart = 0;
    int imageType = 0;
    int width = 0, height = 0;
    int bitsPerPixel = 0;
};

int readU16(std::span<const uint8_t> bytes, size_t at) { return bytes[at] | (bytes[at + 1] << 8); }

// Whether the bytes after the header could hold the picture at all: raw pixels one by
// one, or run-length packets of at most 128 pixels, each a header byte and a pixel.
// Checked before the pixel memory is taken, so a short file claiming a huge picture costs nothing.
bool enoughData(std::span<const uint8_t> bytes, const TgaHeader& header) {
    if (header.pixelStart > bytes.size()) return false;
    const size_t stride = static_cast<size_t>(header.bitsPerPixel + 7) / 8;
    const size_t count = static_cast<size_t>(header.width) * header.height;
    const size_t least = header.imageType == 2 ? count * stride : (count + 127) / 128 * (1 + stride);
    return bytes.size() - header.pixelStart >= least;
}

std::optional<TgaHeader> readHeader(std::span<const uint8_t> bytes) {
    if (bytes.size() < HeaderSize) return std::nullopt;
    TgaHeader header;
    header.pixelStart = HeaderSize + bytes[0];  // the image-ID field is skipped
    header.imageType = bytes[2];
    header.width = readU16(bytes, 12);
    header.height = readU16(bytes, 14);
    header.bitsPerPixel = bytes[16];
    const int bits = header.bitsPerPixel;
    if (bytes[1] != 0) return std::nullopt;  // colour-mapped pictures are not used
    if (header.imageType != 2 && header.imageType != 10) return std::nullopt;
    if (bits != 15 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;
    if (header.width < 1 || header.width > MaxSide || header.height < 1 || header.height > MaxSide) return std::nullopt;
    if (!enoughData(bytes, header)) return std::nullopt;
    return header;
}

// One stored pixel (blue first) into R, G, B, A. The 16-bit top bit is alpha, 1 = opaque.
void convertPixel(const uint8_t* stored, int bits, uint8_t* out) {
    if (bits >= 24) {
        out[0] = stored[2];
        out[1] = stored[1];
        out[2] = stored[0];
        out[3] = bits == 32 ? stored[3] : 255;
        return;
    }
    const int word = stored[0] | (stored[1] << 8);
    const auto expand = [](int v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); };
    out[0] = expand((word >> 10) & 31);
    out[1] = expand((word >> 5) & 31);
    out[2] = expand(word & 31);
    out[3] = (bits == 15 || (word & 0x8000)) ? 255 : 0;
}

// Stored pixel number n (bottom row first) goes to its row from the top.
uint8_t* destination(PixelBlock& block, size_t n) {
    const size_t width = static_cast<size_t>(block.width);
    const size_t row = static_cast<size_t>(block.height) - 1 - n / width;
    return block.rgba.data() + (row * width + n % width) * 4;
}

bool readRaw(std::span<const uint8_t> bytes, const TgaHeader& header, PixelBlock& block) {
    const size_t stride = static_cast<size_t>(header.bitsPerPixel + 7) / 8;
    const size_t count = static_cast<size_t>(header.width) * header.height;
    if (header.pixelStart > bytes.size() || (bytes.size() - header.pixelStart) / stride < count) return false;
    for (size_t n = 0; n < count; ++n)
        convertPixel(&bytes[header.pixelStart + n * stride], header.bitsPerPixel, destination(block, n));
    return true;
}

// Packets: a header byte, then one pixel repeated (top bit set) or that many raw pixels.
// A run may cross rows but never the end of the picture or of the buffer.
bool readRunLength(std::span<const uint8_t> bytes, const TgaHeader& header, PixelBlock& block) {
    const size_t stride = static_cast<size_t>(header.bitsPerPixel + 7) / 8;
    const size_t count = static_cast<size_t>(header.width) * header.height;
    size_t at = header.pixelStart;
    for (size_t n = 0; n < count;) {
        if (at >= bytes.size()) return false;
        const bool repeated = (bytes[at] & 0x80) != 0;
        const size_t length = (bytes[at] & 0x7F) + 1u;
        ++at;
        const size_t stored = repeated ? stride : stride * length;
        if (length > count - n || stored > bytes.size() - at) return false;
        for (size_t k = 0; k < length; ++k, ++n)
            convertPixel(&bytes[at + (repeated ? 0 : k * stride)], header.bitsPerPixel, destination(block, n));
        at += stored;
    }
    return true;
}

}  // namespace

std::optional<DecodedPicture> decodeTga(std::span<const uint8_t> bytes) {
    const auto header = readHeader(bytes);
    if (!header) return std::nullopt;
    DecodedPicture picture =
        blankPicture(header->width, header->height, header->bitsPerPixel == 16 || header->bitsPerPixel == 32);
    const bool ok = header->imageType == 2 ? readRaw(bytes, *header, picture.pixels)
                                           : readRunLength(bytes, *header, picture.pixels);
    if (!ok) return std::nullopt;
    return picture;
}
