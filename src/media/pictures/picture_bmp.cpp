// BMP pictures: "BM", a 40-byte information header, 1, 4, 8, 24 or 32 bits per
// pixel, uncompressed. Every offset and size is checked against the buffer before
// a pixel is read, so a damaged or hostile file gives nothing instead of a crash.
// A negative height marks rows stored top-down; those are read the same way, flipped.

#include <array>
#include <cstddef>
#include <cstdint>

#include "media/pictures/picture_decoders.h"

namespace {

constexpr size_t FileHeaderSize = 14;
constexpr size_t InfoHeaderSize = 40;
constexpr size_t PaletteStart = FileHeaderSize + InfoHeaderSize;
constexpr int64_t MaxSide = MaxPictureSide;

struct BmpHeader {
    int width = 0, height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    size_t pixelStart = 0;
    size_t rowStride = 0;
    size_t paletteCount = 0;
};

uint32_t readU32(std::span<const uint8_t> bytes, size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

int32_t readI32(std::span<const uint8_t> bytes, size_t at) { return static_cast<int32_t>(readU32(bytes, at)); }

bool supportedDepth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32; }

// Palette entries follow the header directly: the header's count, or 2^bits when 0.
// Only paletted depths have one; a count beyond 2^bits or past the buffer is refused.
bool readPaletteCount(std::span<const uint8_t> bytes, BmpHeader& header) {
    if (header.bitsPerPixel > 8) return true;
    const uint32_t declared = readU32(bytes, 46);
    const uint32_t full = 1u << header.bitsPerPixel;
    if (declared > full) return false;
    header.paletteCount = declared == 0 ? full : declared;
    return header.paletteCount * 4 <= bytes.size() - PaletteStart;
}

std::optional<BmpHeader> readHeader(std::span<const uint8_t> bytes) {
    if (bytes.size() < PaletteStart || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    if (readU32(bytes, 14) != InfoHeaderSize || readU32(bytes, 30) != 0) return std::nullopt;
    BmpHeader header;
    const int64_t width = readI32(bytes, 18);
    const int64_t height = readI32(bytes, 22);  // 64 bits, so negating the lowest value is safe
    header.topDown = height < 0;
    const int64_t rows = header.topDown ? -height : height;
    header.bitsPerPixel = bytes[28] | (bytes[29] << 8);
    if (width < 1 || width > MaxSide || rows < 1 || rows > MaxSide) return std::nullopt;
    if (!supportedDepth(header.bitsPerPixel)) return std::nullopt;
    header.width = static_cast<int>(width);
    header.height = static_cast<int>(rows);
    header.rowStride = static_cast<size_t>((width * header.bitsPerPixel + 31) / 32 * 4);
    header.pixelStart = readU32(bytes, 10);
    if (!readPaletteCount(bytes, header)) return std::nullopt;
    if (header.pixelStart > bytes.size() ||
        (bytes.size() - header.pixelStart) / header.rowStride < static_cast<size_t>(header.height))
        return std::nullopt;
    return header;
}

// Palette index of pixel x in a row of 1, 4 or 8 bits, leftmost pixel in the high bits.
size_t paletteIndex(const uint8_t* row, int x, int bits) {
    const int bitOffset = x * bits;
    const int shift = 8 - bits - bitOffset % 8;
    return (row[bitOffset / 8] >> shift) & ((1 << bits) - 1);
}

// One row into R, G, B, A; false when a palette index lies past the palette.
bool convertRow(std::span<const uint8_t> bytes, const BmpHeader& header, const uint8_t* row, uint8_t* out) {
    for (int x = 0; x < header.width; ++x, out += 4) {
        const uint8_t* source = row + x * header.bitsPerPixel / 8;
        if (header.bitsPerPixel <= 8) {
            const size_t index = paletteIndex(row, x, header.bitsPerPixel);
            if (index >= header.paletteCount) return false;
            source = &bytes[PaletteStart + index * 4];
        }
        out[0] = source[2];
        out[1] = source[1];
        out[2] = source[0];
        out[3] = header.bitsPerPixel == 32 ? source[3] : 255;
    }
    return true;
}

}  // namespace

std::optional<DecodedPicture> decodeBmp(std::span<const uint8_t> bytes) {
    const auto header = readHeader(bytes);
    if (!header) return std::nullopt;
    DecodedPicture picture = blankPicture(header->width, header->height, header->bitsPerPixel == 32);
    for (int stored = 0; stored < header->height; ++stored) {
        const int y = header->topDown ? stored : header->height - 1 - stored;
        const uint8_t* row = &bytes[header->pixelStart + stored * header->rowStride];
        uint8_t* out = &picture.pixels.rgba[static_cast<size_t>(y) * header->width * 4];
        if (!convertRow(bytes, *header, row, out)) return std::nullopt;
    }
    return picture;
}
