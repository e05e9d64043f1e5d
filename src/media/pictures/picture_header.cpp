// What a picture file's first bytes allow its whole length to be. A decoder needs the whole
// file in memory; this is asked before the body is read, so that a file far longer than its
// picture could need (or a picture larger than any decoder takes) costs only its first bytes.

#include <algorithm>
#include <array>
#include <string>

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

// What one format makes of a file's first bytes.
struct HeadVerdict {
    enum Kind { NotThisFormat, CutShort, TooLarge, Fits } kind = NotThisFormat;
    int64_t width = 0, height = 0;
    uint64_t limit = 0;  // Fits: the longest file the picture can need
    const char* format = "";
};

HeadVerdict notThisFormat() { return {}; }
HeadVerdict cutShort(const char* format) { return {HeadVerdict::CutShort, 0, 0, 0, format}; }

// Fits with the limit, or TooLarge for sides the decoders refuse; no sides at all are no picture.
HeadVerdict sized(const char* format, int64_t width, int64_t height, uint64_t limit) {
    if (width < 1 || height < 1) return notThisFormat();
    const bool fits = width <= MaxPictureSide && height <= MaxPictureSide;
    return {fits ? HeadVerdict::Fits : HeadVerdict::TooLarge, width, height, limit, format};
}

// TGA has no magic number: its header's rules are the test (as decodeTga's). The worst run
// coding spends a packet byte on every pixel.
HeadVerdict tgaVerdict(std::span<const uint8_t> head) {
    if (head.size() < 18 || head[1] != 0 || (head[2] != 2 && head[2] != 10)) return notThisFormat();
    const int bits = head[16];
    if (bits != 15 && bits != 16 && bits != 24 && bits != 32) return notThisFormat();
    const int width = head[12] | (head[13] << 8), height = head[14] | (head[15] << 8);
    const uint64_t stride = static_cast<uint64_t>(bits + 7) / 8;
    return sized("TGA", width, height, 18 + head[0] + uint64_t(width) * height * (stride + 1) + Extras);
}

// The first chunk is IHDR: width and height, bit depth and colour type. Rows of at most
// 16-bit RGBA and a filter byte each, stored without compression at worst.
HeadVerdict pngVerdict(std::span<const uint8_t> head) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (head.size() < 8 || !std::equal(signature, signature + 8, head.begin())) return notThisFormat();
    if (head.size() < 24) return cutShort("PNG");
    const int64_t width = bigU32(head, 16), height = bigU32(head, 20);
    const uint64_t rows = uint64_t(height) * (1 + uint64_t(width) * 8);
    return sized("PNG", width, height, 8 + rows + rows / 64 + Extras);
}

// Markers up to the frame header (SOFn) give the size and the number of components; coded
// data can outgrow the pixels a little, never twice over. A frame header beyond the first
// bytes (behind large metadata) leaves the general limit.
HeadVerdict jpegVerdict(std::span<const uint8_t> head) {
    if (head.size() < 3 || head[0] != 0xFF || head[1] != 0xD8 || head[2] != 0xFF) return notThisFormat();
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
            if (components < 1 || components > 4) return notThisFormat();
            return sized("JPEG", width, height, uint64_t(width) * height * components * 2 + Extras);
        }
        at += 2 + length;
    }
    return {HeadVerdict::Fits, 0, 0, MaxPictureFileBytes, "JPEG"};
}

// "BM", a 40-byte information header: the pixel data's start and its rows, padded to 4 bytes.
HeadVerdict bmpVerdict(std::span<const uint8_t> head) {
    if (head.size() < 2 || head[0] != 'B' || head[1] != 'M') return notThisFormat();
    if (head.size() < 54) return cutShort("BMP");
    if (littleU32(head, 14) != 40) return notThisFormat();
    const int64_t width = static_cast<int32_t>(littleU32(head, 18));
    const int64_t rows = static_cast<int32_t>(littleU32(head, 22));
    const int64_t height = rows < 0 ? -rows : rows;
    const int bits = head[28] | (head[29] << 8);
    const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    return sized("BMP", width, height, uint64_t(littleU32(head, 10)) + stride * uint64_t(height) + Extras);
}

// Every decoder that could take the file, in the order they are tried.
std::array<HeadVerdict, 4> verdicts(std::span<const uint8_t> head) {
    return {tgaVerdict(head), pngVerdict(head), jpegVerdict(head), bmpVerdict(head)};
}

// Whether the file stops before its format's end: the pixels an uncompressed header promises,
// PNG's closing chunk, JPEG's end marker. Run-coded TGA cannot tell.
bool endsEarly(std::span<const uint8_t> bytes, const HeadVerdict& verdict) {
    const std::string format = verdict.format;
    const size_t size = bytes.size();
    if (format == "TGA" && bytes[2] == 2) {
        const uint64_t stride = static_cast<uint64_t>(bytes[16] + 7) / 8;
        return size < 18 + bytes[0] + uint64_t(verdict.width) * verdict.height * stride;
    }
    if (format == "BMP") {
        const int bits = bytes[28] | (bytes[29] << 8);
        const uint64_t stride = (uint64_t(verdict.width) * bits + 31) / 32 * 4;
        return size < littleU32(bytes, 10) + stride * uint64_t(verdict.height);
    }
    static const uint8_t pngEnd[4] = {'I', 'E', 'N', 'D'};
    if (format == "PNG") return size < 20 || !std::equal(pngEnd, pngEnd + 4, bytes.end() - 8);
    if (format == "JPEG") return bytes[size - 2] != 0xFF || bytes[size - 1] != 0xD9;
    return false;
}

std::string sidesText(const HeadVerdict& verdict) {
    return std::to_string(verdict.width) + " x " + std::to_string(verdict.height);
}

}  // namespace

std::optional<uint64_t> largestPictureFile(std::span<const uint8_t> head) {
    // Every decoder that could take the file is tried in turn, so the most generous counts.
    std::optional<uint64_t> largest;
    for (const HeadVerdict& verdict : verdicts(head))
        if (verdict.kind == HeadVerdict::Fits) largest = std::max(largest.value_or(0), verdict.limit);
    if (largest) largest = std::min<uint64_t>(*largest, MaxPictureFileBytes);
    return largest;
}

std::string pictureHeadFault(std::span<const uint8_t> head, uint64_t fileSize) {
    if (const std::optional<uint64_t> largest = largestPictureFile(head)) {
        if (fileSize <= *largest) return "";
        return "too large for its header's size: " + std::to_string(fileSize) + " bytes where its picture needs " +
               std::to_string(*largest) + " at most";
    }
    const std::array<HeadVerdict, 4> all = verdicts(head);
    for (const HeadVerdict& verdict : all)
        if (verdict.kind == HeadVerdict::TooLarge)
            return "a " + std::string(verdict.format) + " picture of " + sidesText(verdict) + " pixels, larger than " +
                   std::to_string(MaxPictureSide) + " a side";
    for (const HeadVerdict& verdict : all)
        if (verdict.kind == HeadVerdict::CutShort)
            return "cut short: " + std::string(verdict.format) + " header incomplete";
    return "not a picture";
}

std::string pictureBodyFault(std::span<const uint8_t> bytes) {
    for (const HeadVerdict& verdict : verdicts(bytes.first(std::min(bytes.size(), PictureHeadBytes)))) {
        if (verdict.kind != HeadVerdict::Fits) continue;
        const std::string format = verdict.format;
        return endsEarly(bytes, verdict) ? "cut short: the " + format + " data ends early"
                                         : "damaged: its " + format + " data does not decode";
    }
    return pictureHeadFault(bytes.first(std::min(bytes.size(), PictureHeadBytes)), bytes.size());
}
