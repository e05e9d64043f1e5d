#pragma once
// Picture decoders: pure functions of a byte buffer. Each returns nothing when the
// bytes are not a valid picture of its format, and never reads out of bounds.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "media/pictures/image.h"

// Every decoder refuses pictures wider or taller than this before taking pixel memory.
constexpr int MaxPictureSide = 4096;
// The largest file a picture of that size needs in any of the formats (uncompressed
// 32-bit BMP or TGA: 64 MB; noisy PNG or JPEG a little more). Longer files are not read.
constexpr size_t MaxPictureFileBytes = size_t{96} << 20;

// The first bytes of a picture file that tell its size in every format (a JPEG's frame
// header behind larger metadata excepted).
constexpr size_t PictureHeadBytes = 64 * 1024;
// The longest file a picture starting with these bytes can need, known before its body is
// read: its pixels at their largest in the format, plus room for colour profiles and text,
// never above MaxPictureFileBytes. Nothing when no decoder would take such a start (no
// picture format, or a picture wider or taller than MaxPictureSide).
std::optional<uint64_t> largestPictureFile(std::span<const uint8_t> head);
// Why a file of that size with these first bytes is refused before its body is read (too large
// for its header's size, a picture larger than MaxPictureSide, a header cut short, not a
// picture); "" when its body is to be read.
std::string pictureHeadFault(std::span<const uint8_t> head, uint64_t fileSize);
// Why a whole file that passed that check did not decode: "cut short: ..." when it ends before
// its format's end, else "damaged: ...".
std::string pictureBodyFault(std::span<const uint8_t> bytes);

struct DecodedPicture {
    PixelBlock pixels;      // RGBA, top row first
    bool hasAlpha = false;  // the format carried an alpha channel (no masking then)
};

// A picture of the given size with every pixel zero, ready for a decoder to fill.
DecodedPicture blankPicture(int width, int height, bool hasAlpha);

std::optional<DecodedPicture> decodeTga(std::span<const uint8_t> bytes);
std::optional<DecodedPicture> decodePng(std::span<const uint8_t> bytes);
std::optional<DecodedPicture> decodeJpeg(std::span<const uint8_t> bytes);
std::optional<DecodedPicture> decodeBmp(std::span<const uint8_t> bytes);
// Tries TGA, PNG, JPEG, BMP in that order; the first that succeeds wins.
std::optional<DecodedPicture> decodePicture(std::span<const uint8_t> bytes);

// Black (0,0,0) pixels become transparent and take the average colour of their
// non-black neighbours, so filtered edges blend toward the picture, not toward black.
void applyMask(PixelBlock& pixels);

// Cuts cellCount cells from firstCell on, left to right then top to bottom; nothing when they do not fit.
std::optional<std::vector<PixelBlock>> cutStrip(const PixelBlock& picture, int cellWidth, int cellHeight, int firstCell,
                                                int cellCount);
