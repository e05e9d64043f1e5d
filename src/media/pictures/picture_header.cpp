// What a picture file's first bytes allow its whole length to be. A decoder needs the whole
// file in memory; this is asked before the body is read, so that a file far longer than its
// picture could need (or a picture larger than any decoder takes) costs only its first bytes.

#include <algorithm>

#include "media/pictures/picture_decoders.h"

namespace {

// Room for what a file may carry besides its pixels: colour profiles, text, a thumbnail.
constexpr uint64_t Extras = uint64_t{4} << 20;

uint32_t littleU32(std::span<const uint8_t> bytes, size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<uint32_t>(bytes[at + 3]) << 24);
}
uint32_t bigU32(std::span<const uint8_t> bytes, size_t at) {
    return (static_cast<uint32_t>(bytes[at]) << 24) | (bytes[at + 1] << 16) | (bytes[at + 2] << 8) | bytes[at + 3];
}

bool sidesFit(int64_t width, int64_t height) {
    return width >= 1 && width <= MaxPictureSide && height >= 1 && height <= MaxPictureSide;
}

// TGA has no magic number: its header's rules are the test (as decodeTga's). The worst run
// coding spends a packet byte on every pixel.
std::optional<uint64_t> tgaLimit(std::span<const uint8_t> head) {
    if (head.size() < 18 || head[1] != 0 || (head[2] != 2 && head[2] != 10)) return std::nullopt;
    const int bits = head[16];
    if (bits != 15 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;
    const int width = head[12] | (head[13] << 8), height = head[14] | (head[15] << 8);
    if (!sidesFit(width, height)) return std::nullopt;
    const uint64_t stride = static_cast<uint64_t>(bits + 7) / 8;
    return 18 + head[0] + uint64_t(width) * height * (stride + 1) + Extras;
}

// The first chunk is IHDR: width and height, bit depth and colour type. Rows of at most
// 16-bit RGBA and a filter byte each, stored without compression at worst.
std::optional<uint64_t> pngLimit(std::span<const uint8_t> head) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (head.size() < 8 || !std::equal(signature, signature + 8, head.begin())) return std::nullopt;
    if (head.size() < 24) return std::nullopt;
    const int64_t width = bigU32(head, 16), height = bigU32(head, 20);
    if (!sidesFit(width, height)) return std::nullopt;
    const uint64_t rows = uint64_t(height) * (1 + uint64_t(width) * 8);
    return 8 + rows + rows / 64 + Extras;
}

// Markers up to the frame header (SOFn) give the size and the number of components; coded
// data can outgrow the pixels a little, never twice over. A frame header beyond the first
// bytes (behind large metadata) leaves the general limit.
std::optional<uint64_t> jpegLimit(std::span<const uint8_t> head) {
    if (head.size() < 3 || head[0] != 0xFF || head[1] != 0xD8 || head[2] != 0xFF) return std::nullopt;
    size_t at = 2;
    while (at + 9 < head.size()) {
        if (head[at] != 0xFF) break;  // something the decoder will judge: the general limit
        const uint8_t marker = head[at + 1];
        if (marker == 0xFF || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += marker == 0xFF ? 1 : 2;  // a fill byte, or a marker without a length
            continue;
        }
        const size_t length = (head[at + 2] << 8) | head[at + 3];
        const bool frameHeader = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) {
            const int height = (head[at + 5] << 8) | head[at + 6], width = (head[at + 7] << 8) | head[at + 8];
            const int components = head[at + 9];
            if (!sidesFit(width, height) || components < 1 || components > 4) return std::nullopt;
            return uint64_t(width) * height * components * 2 + Extras;
        }
        at += 2 + length;
    }
    return MaxPictureFileBytes;
}

// "BM", a 40-byte information header: the pixel data's start and its rows, padded to 4 bytes.
std::optional<uint64_t> bmpLimit(std::span<const uint8_t> head) {
    if (head.size() < 54 || head[0] != 'B' || head[1] != 'M' || littleU32(head, 14) != 40) return std::nullopt;
    const int64_t width = static_cast<int32_t>(littleU32(head, 18));
    const int64_t height = static_cast<int32_t>(littleU32(head, 22));
    const int bits = head[28] | (head[29] << 8);
    if (!sidesFit(width, height < 0 ? -height : height)) return std::nullopt;
    const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    return uint64_t(littleU32(head, 10)) + stride * uint64_t(height < 0 ? -height : height) + Extras;
}

}  // namespace

std::optional<uint64_t> largestPictureFile(std::span<const uint8_t> head) {
    // Every decoder that could take the file is tried in turn, so the most generous counts.
    std::optional<uint64_t> largest;
    for (const auto limit : {tgaLimit(head), pngLimit(head), jpegLimit(head), bmpLimit(head)})
        if (limit) largest = std::max(largest.value_or(0), *limit);
    if (largest) largest = std::min<uint64_t>(*largest, MaxPictureFileBytes);
    return largest;
}
