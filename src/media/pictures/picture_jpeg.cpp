// JPEG pictures through libjpeg, read from memory. Greyscale and colour pictures
// come out as RGB with no alpha. libjpeg would end the program on an error, so the
// error manager jumps back instead and prints nothing. A file libjpeg has to warn
// about (one that ends early, corrupt data) is refused rather than shown with its
// missing part filled in grey, and so is a progressive file whose scans stop short.

#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>

#include "media/pictures/picture_decoders.h"

namespace {

constexpr JDIMENSION MaxSide = MaxPictureSide;
// Our pictures use at most ten scans; thousands of tiny scans would each walk the
// whole picture and keep the loader busy for minutes.
constexpr int MaxScans = 64;

// The libjpeg error manager must come first so libjpeg's pointer is also ours.
// The scan counter rides along, so it can jump back the same way.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool warned = false;
    jpeg_progress_mgr progress{};
};

[[noreturn]] void onError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }

// Warnings are silent, but every one of them (data ending early, a marker inside the
// coded data, a bad code) marks the file as damaged.
void onMessage(j_common_ptr info, int level) {
    if (level < 0) reinterpret_cast<JpegErrors*>(info->err)->warned = true;
}

void onProgress(j_common_ptr info) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > MaxScans) onError(info);
}

struct JpegJob {
    std::span<const uint8_t> bytes;
    std::vector<uint8_t> decoded;  // rows of `channels` bytes per pixel
    int width = 0, height = 0, channels = 0;
};

// Huffman coding spends at least one bit on every 8 x 8 block of the first component;
// a file too short for its blocks is cut short and is refused before any pixel memory
// is taken. (Arithmetic coding has no such floor; its pictures stay within the side limit.)
bool enoughData(const jpeg_decompress_struct& info, size_t fileBytes) {
    if (info.arith_code) return true;
    const jpeg_component_info& first = info.comp_info[0];
    return size_t{first.width_in_blocks} * first.height_in_blocks <= fileBytes * 8;
}

bool acceptedHeader(const jpeg_decompress_struct& info, size_t fileBytes) {
    const bool knownColours = info.jpeg_color_space == JCS_GRAYSCALE || info.jpeg_color_space == JCS_YCbCr ||
                              info.jpeg_color_space == JCS_RGB;
    const bool sensibleSize = info.image_width <= MaxSide && info.image_height <= MaxSide;
    return knownColours && sensibleSize && enoughData(info, fileBytes);
}

// A progressive file cut short between two scans ends cleanly, but some coefficients
// never reached their full precision (0 = every bit received, -1 = none).
bool allScansArrived(const jpeg_decompress_struct& info) {
    if (!info.progressive_mode) return true;
    for (int component = 0; component < info.num_components; ++component)
        for (int k = 0; k < DCTSIZE2; ++k)
            if (info.coef_bits[component][k] != 0) return false;
    return true;
}

// All libjpeg calls that may jump; no local here needs a destructor.
bool runDecode(jpeg_decompress_struct& info, JpegJob& job) {
    jpeg_mem_src(&info, job.bytes.data(), static_cast<unsigned long>(job.bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || !acceptedHeader(info, job.bytes.size())) return false;
    info.out_color_space = info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&info);
    job.width = static_cast<int>(info.output_width);
    job.height = static_cast<int>(info.output_height);
    job.channels = info.output_components;
    const size_t rowBytes = static_cast<size_t>(job.width) * job.channels;
    job.decoded.resize(rowBytes * job.height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = job.decoded.data() + info.output_scanline * rowBytes;
        jpeg_read_scanlines(&info, &row, 1);
    }
    const bool complete = allScansArrived(info);
    jpeg_finish_decompress(&info);
    return complete;
}

bool readPicture(jpeg_decompress_struct& info, JpegErrors& errors, JpegJob& job) {
    if (setjmp(errors.jump)) return false;
    jpeg_create_decompress(&info);
    // Set after creating: creating clears every field but the error manager.
    errors.progress.progress_monitor = onProgress;
    info.progress = &errors.progress;
    return runDecode(info, job) && !errors.warned;
}

DecodedPicture widenToRgba(const JpegJob& job) {
    DecodedPicture picture;
    picture.pixels.width = job.width;
    picture.pixels.height = job.height;
    const size_t count = static_cast<size_t>(job.width) * job.height;
    picture.pixels.rgba.resize(count * 4);
    for (size_t n = 0; n < count; ++n) {
        const uint8_t* in = &job.decoded[n * job.channels];
        uint8_t* out = &picture.pixels.rgba[n * 4];
        out[0] = in[0];
        out[1] = job.channels == 3 ? in[1] : in[0];
        out[2] = job.channels == 3 ? in[2] : in[0];
        out[3] = 255;
    }
    return picture;
}

}  // namespace

std::optional<DecodedPicture> decodeJpeg(std::span<const uint8_t> bytes) {
    // Every JPEG starts with the start-of-image marker; anything else is not tried.
    if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes[2] != 0xFF) return std::nullopt;
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onError;
    errors.manager.emit_message = onMessage;
    JpegJob job;
    job.bytes = bytes;
    const bool ok = readPicture(info, errors, job);
    jpeg_destroy_decompress(&info);  // also safe when creating it failed half-way
    if (!ok || (job.channels != 1 && job.channels != 3)) return std::nullopt;
    return widenToRgba(job);
}
