#pragma once
// Encoders for the generated pictures. Each takes straight RGBA pixels (top row first)
// and returns the file's bytes; the same pixels always give the same bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "media/pictures/image.h"

// PNG, 8 bits per channel; RGBA when withAlpha, else RGB (the loader then masks pure black).
// zlib's compression level 0..9: 9 is the smallest file, 6 much quicker on large pictures.
std::vector<uint8_t> encodePng(const PixelBlock& pixels, bool withAlpha, int compression = 9);
// Uncompressed true-colour TGA (type 2), 32 bits BGRA, rows stored bottom-up.
std::vector<uint8_t> encodeTga32(const PixelBlock& pixels);
// Classic Windows BMP: 40-byte info header, 24 bits BGR, rows bottom-up padded to 4 bytes.
std::vector<uint8_t> encodeBmp24(const PixelBlock& pixels);
// Baseline JPEG at the given quality (1..100); alpha is dropped.
std::vector<uint8_t> encodeJpeg(const PixelBlock& pixels, int quality);

// Writes the bytes to the file, replacing it; throws when the file cannot be written.
void saveBytes(const std::string& path, const std::vector<uint8_t>& bytes);
