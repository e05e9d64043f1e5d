// PNG pictures through libpng, read from memory. Every colour type is brought to
// 8-bit grey, grey + alpha, RGB or RGBA and then widened to RGBA. libpng reports
// errors by longjmp; the jump lands in readPicture, whose frame owns nothing that
// needs a destructor, and every C++ object lives in the PngJob that outlives it.

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "media/pictures/picture_decoders.h"

namespace {

// Sides beyond this are refused before any pixel memory is taken.
constexpr png_uint_32 MaxSide = MaxPictureSide;
// Deflate never packs more than 1032 bytes into one (a 258-byte copy in two one-bit codes).
constexpr size_t MaxDeflateRatio = 1032;

struct PngJob {
    std::span<const uint8_t> bytes;
    size_t position = 0;
    png_uint_32 width = 0, height = 0;
    int channels = 0;
    std::vector<uint8_t> decoded;  // rows as libpng gives them
    std::vector<png_bytep> rows;
};

void readFromMemory(png_structp png, png_bytep out, size_t length) {
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (length > job->bytes.size() - job->position) png_error(png, "truncated");
    std::memcpy(out, job->bytes.data() + job->position, length);
    job->position += length;
}

// Errors jump back without printing; warnings (odd but readable chunks) are dropped.
[[noreturn]] void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onWarning(png_structp, png_const_charp) {}

// Palette and low depths expand, tRNS becomes alpha, 16-bit channels drop to 8.
void setTransforms(png_structp png, png_infop info) {
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_packing(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

// All libpng calls that may jump; no local here needs a destructor.
void runDecode(png_structp png, png_infop info, PngJob& job) {
    png_set_read_fn(png, &job, readFromMemory);
    png_set_user_limits(png, MaxSide, MaxSide);
    // Text, colour profiles and other extras are skipped unread: libpng would otherwise
    // take and clear as much memory as a damaged chunk length claims, before reading it.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
    job.width = png_get_image_width(png, info);
    job.height = png_get_image_height(png, info);
    // The rows as stored, each with its filter byte, must fit the file at the best ratio
    // deflate can reach; otherwise the file is cut short, and no pixel memory is taken for it.
    const size_t storedBytes = (png_get_rowbytes(png, info) + 1) * job.height;
    if (storedBytes / MaxDeflateRatio > job.bytes.size()) png_error(png, "too short for its size");
    setTransforms(png, info);
    job.channels = png_get_channels(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    if (png_get_bit_depth(png, info) != 8 || rowBytes != size_t{job.width} * job.channels)
        png_error(png, "unexpected layout");
    job.decoded.resize(rowBytes * job.height);
    job.rows.resize(job.height);
    for (png_uint_32 y = 0; y < job.height; ++y) job.rows[y] = job.decoded.data() + y * rowBytes;
    png_read_image(png, job.rows.data());
    png_read_end(png, nullptr);
}

bool readPicture(png_structp png, png_infop info, PngJob& job) {
    if (setjmp(png_jmpbuf(png))) return false;
    runDecode(png, info, job);
    return true;
}

// Grey, grey + alpha, RGB or RGBA rows into RGBA.
DecodedPicture widenToRgba(const PngJob& job) {
    DecodedPicture picture;
    picture.pixels.width = static_cast<int>(job.width);
    picture.pixels.height = static_cast<int>(job.height);
    picture.hasAlpha = job.channels == 2 || job.channels == 4;
    const size_t count = static_cast<size_t>(job.width) * job.height;
    picture.pixels.rgba.resize(count * 4);
    for (size_t n = 0; n < count; ++n) {
        const uint8_t* in = &job.decoded[n * job.channels];
        uint8_t* out = &picture.pixels.rgba[n * 4];
        const bool grey = job.channels <= 2;
        out[0] = in[0];
        out[1] = grey ? in[0] : in[1];
        out[2] = grey ? in[0] : in[2];
        out[3] = picture.hasAlpha ? in[job.channels - 1] : 255;
    }
    return picture;
}

}  // namespace

std::optional<DecodedPicture> decodePng(std::span<const uint8_t> bytes) {
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return std::nullopt;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!png) return std::nullopt;
    png_infop info = png_create_info_struct(png);
    PngJob job;
    job.bytes = bytes;
    const bool ok = info && readPicture(png, info, job);
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (!ok || job.channels < 1 || job.channels > 4) return std::nullopt;
    return widenToRgba(job);
}
