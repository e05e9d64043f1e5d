#include "common/picture_writers.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace {

void putU16(std::vector<uint8_t>& out, unsigned value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void putU32(std::vector<uint8_t>& out, uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

const uint8_t* pixelAt(const PixelBlock& pixels, int x, int y) {
    return &pixels.rgba[(static_cast<size_t>(y) * pixels.width + x) * 4];
}

void appendPngBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

}  // namespace

std::vector<uint8_t> encodePng(const PixelBlock& pixels, bool withAlpha, int compression) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot encode PNG");
    }
    png_set_write_fn(png, &out, appendPngBytes, nullptr);
    png_set_compression_level(png, compression);
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width), static_cast<png_uint_32>(pixels.height), 8,
                 withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const int channels = withAlpha ? 4 : 3;
    std::vector<uint8_t> row(static_cast<size_t>(pixels.width) * channels);
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x)
            for (int c = 0; c < channels; ++c) row[static_cast<size_t>(x) * channels + c] = pixelAt(pixels, x, y)[c];
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> encodeTga32(const PixelBlock& pixels) {
    std::vector<uint8_t> out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // no ID, no colour map, type 2
    putU16(out, static_cast<unsigned>(pixels.width));
    putU16(out, static_cast<unsigned>(pixels.height));
    out.push_back(32);
    out.push_back(8);  // 8 alpha bits, origin bottom-left
    for (int y = pixels.height - 1; y >= 0; --y)
        for (int x = 0; x < pixels.width; ++x) {
            const uint8_t* p = pixelAt(pixels, x, y);
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    return out;
}

std::vector<uint8_t> encodeBmp24(const PixelBlock& pixels) {
    const uint32_t rowBytes = (static_cast<uint32_t>(pixels.width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(pixels.height);
    constexpr uint32_t HeadersSize = 14 + 40;
    std::vector<uint8_t> out = {'B', 'M'};
    putU32(out, HeadersSize + imageBytes);
    putU32(out, 0);
    putU32(out, HeadersSize);
    putU32(out, 40);
    putU32(out, static_cast<uint32_t>(pixels.width));
    putU32(out, static_cast<uint32_t>(pixels.height));  // positive height: rows bottom-up
    putU16(out, 1);
    putU16(out, 24);
    putU32(out, 0);  // no compression
    putU32(out, imageBytes);
    putU32(out, 2835);  // 72 dots per inch
    putU32(out, 2835);
    putU32(out, 0);
    putU32(out, 0);
    for (int y = pixels.height - 1; y >= 0; --y) {
        const size_t rowStart = out.size();
        for (int x = 0; x < pixels.width; ++x) {
            const uint8_t* p = pixelAt(pixels, x, y);
            out.insert(out.end(), {p[2], p[1], p[0]});
        }
        out.resize(rowStart + rowBytes, 0);
    }
    return out;
}

std::vector<uint8_t> encodeJpeg(const PixelBlock& pixels, int quality) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(pixels.width);
    info.image_height = static_cast<JDIMENSION>(pixels.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(pixels.width) * 3);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < pixels.width; ++x)
            for (int c = 0; c < 3; ++c) row[static_cast<size_t>(x) * 3 + c] = pixelAt(pixels, x, y)[c];
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    free(buffer);
    return out;
}

void saveBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}
