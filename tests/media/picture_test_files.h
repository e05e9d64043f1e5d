#pragma once
// Small picture files built in memory for the decoder tests. PNG and JPEG inputs
// come from the libpng and libjpeg encoders, TGA and BMP are laid out by hand.

#include <png.h>

#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "media/pictures/picture_decoders.h"

using Bytes = std::vector<uint8_t>;

struct Rgba {
    int r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

inline Rgba pixelAt(const PixelBlock& block, int x, int y) {
    const uint8_t* p = &block.rgba[(static_cast<size_t>(y) * block.width + x) * 4];
    return Rgba{p[0], p[1], p[2], p[3]};
}

inline void putLe(Bytes& out, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline void poke32(Bytes& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// ---- TGA: header with no colour map, then the given pixel data as stored.
inline Bytes tgaFile(int type, int bits, int width, int height, const Bytes& data, const Bytes& id = {}) {
    Bytes out{static_cast<uint8_t>(id.size()), 0, static_cast<uint8_t>(type), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    putLe(out, width, 2);
    putLe(out, height, 2);
    out.push_back(static_cast<uint8_t>(bits));
    out.push_back(bits == 32 ? 8 : 0);
    out.insert(out.end(), id.begin(), id.end());
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// ---- BMP: 14-byte file header, 40-byte information header, palette, rows as given.
inline Bytes bmpFile(int bits, int width, int height, const std::vector<Rgba>& palette, uint32_t paletteCount,
                     const Bytes& rows) {
    const uint32_t pixelStart = 54 + static_cast<uint32_t>(palette.size()) * 4;
    Bytes out{'B', 'M'};
    putLe(out, pixelStart + static_cast<uint32_t>(rows.size()), 4);
    putLe(out, 0, 4);
    putLe(out, pixelStart, 4);
    putLe(out, 40, 4);
    putLe(out, static_cast<uint32_t>(width), 4);
    putLe(out, static_cast<uint32_t>(height), 4);
    putLe(out, 1, 2);
    putLe(out, bits, 2);
    putLe(out, 0, 4);  // uncompressed
    putLe(out, static_cast<uint32_t>(rows.size()), 4);
    putLe(out, 2835, 4);
    putLe(out, 2835, 4);
    putLe(out, paletteCount, 4);
    putLe(out, 0, 4);
    for (const Rgba& c : palette) out.insert(out.end(), {uint8_t(c.b), uint8_t(c.g), uint8_t(c.r), 0});
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

// ---- PNG through libpng's encoder; rows are packed as the colour type and depth say.
struct PngSpec {
    int width = 1, height = 1;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    std::vector<Bytes> rows;
    std::vector<png_color> palette;
    Bytes transparency;  // tRNS alphas for palette entries
};

inline PngSpec pngSpec(int width, int height, int colourType, int bitDepth, std::vector<Bytes> rows) {
    PngSpec spec;
    spec.width = width;
    spec.height = height;
    spec.colourType = colourType;
    spec.bitDepth = bitDepth;
    spec.rows = std::move(rows);
    return spec;
}

inline void appendPngBytes(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

inline Bytes pngFile(PngSpec spec) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) throw std::runtime_error("png encoder failed");
    png_set_write_fn(png, &out, appendPngBytes, nullptr);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty()) png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
    if (!spec.transparency.empty())
        png_set_tRNS(png, info, spec.transparency.data(), static_cast<int>(spec.transparency.size()), nullptr);
    png_write_info(png, info);
    for (Bytes& row : spec.rows) png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// The PNG chunk checksum (CRC-32, reflected polynomial 0xEDB88320).
inline uint32_t pngChunkCrc(const uint8_t* data, size_t length) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// The file with a new size in its header, checksum recomputed (rows left as they are).
inline Bytes pngWithSize(Bytes file, uint32_t width, uint32_t height) {
    for (int i = 0; i < 4; ++i) {
        file[16 + i] = static_cast<uint8_t>(width >> (24 - 8 * i));
        file[20 + i] = static_cast<uint8_t>(height >> (24 - 8 * i));
    }
    const uint32_t crc = pngChunkCrc(&file[12], 17);
    for (int i = 0; i < 4; ++i) file[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    return file;
}

// ---- JPEG through libjpeg's encoder at the best quality; pixels are 1 or 3 bytes each.
// Progressive files come in several scans, the finer detail last.
inline Bytes jpegFile(int width, int height, int components, Bytes pixels, J_COLOR_SPACE space,
                      bool progressive = false) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = pixels.data() + info.next_scanline * width * components;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// Every proper prefix of a valid file is refused by the decoder, without a crash.
template <typename Decoder>
int acceptedPrefixes(const Bytes& file, Decoder decode) {
    int accepted = 0;
    for (size_t length = 0; length < file.size(); ++length) {
        const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        if (decode(std::span<const uint8_t>(prefix))) ++accepted;
    }
    return accepted;
}
