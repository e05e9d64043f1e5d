#include "media/draw/cpu/cpu_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "media/pictures/picture_file.h"

namespace {

uint32_t premultiplied(const uint8_t* rgba, FrameLook look) {
    uint32_t alpha = rgba[3];
    if (look == FrameLook::Snapped) alpha = alpha >= 128 ? 255 : 0;
    if (look == FrameLook::Opaque) alpha = 255;
    if (look == FrameLook::Shadow) return alpha << 24;
    auto scaled = [alpha](uint32_t channel) { return (channel * alpha + 127) / 255; };
    return alpha << 24 | scaled(rgba[0]) << 16 | scaled(rgba[1]) << 8 | scaled(rgba[2]);
}

// The ink of a frame, a strip of rows at a time: start with noInk(), add each strip, then
// finished(). Premultiplied, a clear pixel is all zero (a shadow's black keeps its alpha).
InkBox noInk(int width, int height) { return InkBox{width, height, 0, 0, true}; }

void addInk(InkBox& box, const uint32_t* pixels, int width, int firstRow, int rows) {
    for (int y = 0; y < rows; ++y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            box.opaque = box.opaque && row[x] >> 24 == 255;
            if (row[x] == 0) continue;
            box.x0 = std::min(box.x0, x), box.x1 = std::max(box.x1, x + 1);
            box.y0 = std::min(box.y0, firstRow + y), box.y1 = std::max(box.y1, firstRow + y + 1);
        }
    }
}

InkBox finished(const InkBox& box) { return box.empty() ? InkBox{} : box; }

InkBox inkOf(const std::vector<uint32_t>& pixels, int width, int height) {
    InkBox box = noInk(width, height);
    addInk(box, pixels.data(), width, 0, height);
    return finished(box);
}

// Premultiplied pixels of rows first..end-1 of a frame.
void premultiplyRows(const PixelBlock& block, FrameLook look, int first, int end, std::vector<uint32_t>& into) {
    into.resize(static_cast<size_t>(block.width) * (end - first));
    const uint8_t* rgba = &block.rgba[static_cast<size_t>(first) * block.width * 4];
    for (size_t i = 0; i < into.size(); ++i) into[i] = premultiplied(&rgba[i * 4], look);
}

// A frame's premultiplied pixels resampled to another size: averaged down where they shrink
// (each pixel the mean of the source pixels it covers, as the generator's sets average down),
// smoothly where they grow, nearest for a picture that is never smoothed. A strip of rows at a
// time, from just the source rows it reads, so that a large picture is never held
// premultiplied at its own size beside the result.
class Resampler {
public:
    static constexpr int StripRows = 64;

    Resampler(const PixelBlock& block, FrameLook look, int toWidth, int toHeight, bool filtered)
        : block(block),
          look(look),
          toWidth(toWidth),
          filtered(filtered),
          ratioX(static_cast<double>(block.width) / toWidth),
          ratioY(static_cast<double>(block.height) / toHeight),
          // Rows beyond a strip's own that its filter may read.
          margin(static_cast<int>(std::ceil(std::max(ratioY, 1.0))) + 2) {
        if (filtered && (ratioX > 1 || ratioY > 1))
            filter = pixman_filter_create_separable_convolution(
                &filterCount, pixman_double_to_fixed(std::max(ratioX, 1.0)),
                pixman_double_to_fixed(std::max(ratioY, 1.0)), PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_IMPULSE,
                PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 4, 4);
    }
    ~Resampler() { free(filter); }
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // Rows top..bottom-1 of the resampled frame into `into`, toWidth words a row.
    void rows(int top, int bottom, uint32_t* into) {
        const int first = std::max(0, static_cast<int>(std::floor(top * ratioY)) - margin);
        const int end = std::min(block.height, static_cast<int>(std::ceil(bottom * ratioY)) + margin);
        premultiplyRows(block, look, first, end, sourceRows);
        pixman_image_t* source =
            pixman_image_create_bits(PIXMAN_a8r8g8b8, block.width, end - first, sourceRows.data(), block.width * 4);
        pixman_image_t* target = pixman_image_create_bits(PIXMAN_a8r8g8b8, toWidth, bottom - top, into, toWidth * 4);
        // The whole frame's transform, moved up by the rows this strip starts below.
        pixman_f_transform scaling{};
        scaling.m[0][0] = ratioX, scaling.m[1][1] = ratioY, scaling.m[1][2] = -first, scaling.m[2][2] = 1;
        pixman_transform fixed;
        pixman_transform_from_pixman_f_transform(&fixed, &scaling);
        pixman_image_set_transform(source, &fixed);
        pixman_image_set_repeat(source, PIXMAN_REPEAT_PAD);
        if (!filtered)
            pixman_image_set_filter(source, PIXMAN_FILTER_NEAREST, nullptr, 0);
        else if (filter)
            pixman_image_set_filter(source, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, filter, filterCount);
        else
            pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
        pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, target, 0, top, 0, 0, 0, 0, toWidth, bottom - top);
        pixman_image_unref(target);
        pixman_image_unref(source);
    }

private:
    const PixelBlock& block;
    FrameLook look;
    int toWidth;
    bool filtered;
    double ratioX, ratioY;
    int margin;
    pixman_fixed_t* filter = nullptr;
    int filterCount = 0;
    std::vector<uint32_t> sourceRows;
};

std::vector<uint32_t> resized(const PixelBlock& block, FrameLook look, int toWidth, int toHeight, bool filtered) {
    std::vector<uint32_t> result(static_cast<size_t>(toWidth) * toHeight);
    Resampler resampler(block, look, toWidth, toHeight, filtered);
    for (int top = 0; top < toHeight; top += Resampler::StripRows)
        resampler.rows(top, std::min(top + Resampler::StripRows, toHeight),
                       result.data() + static_cast<size_t>(top) * toWidth);
    return result;
}

// Rows of alpha bytes are whole 32-bit words apart, as pixman wants them.
int alphaStride(int width) { return (width + 3) / 4 * 4; }

// The alpha bytes of rows of premultiplied pixels, packed a byte a pixel into words.
std::vector<uint32_t> alphaBytes(const uint32_t* pixels, int width, int height) {
    const int stride = alphaStride(width);
    std::vector<uint32_t> packed(static_cast<size_t>(stride / 4) * height, 0);
    auto* bytes = reinterpret_cast<uint8_t*>(packed.data());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bytes[static_cast<size_t>(y) * stride + x] =
                static_cast<uint8_t>(pixels[static_cast<size_t>(y) * width + x] >> 24);
    return packed;
}

}  // namespace

bool pictureIsOpaque(const Image& image) {
    if (image.file) return image.file->opaque;
    return std::all_of(image.frames.begin(), image.frames.end(),
                       [](const PixelBlock& frame) { return everyPixelOpaque(frame); });
}

PixelSize preparedSize(const Image& image, float frameScale) {
    // Where the picture's set is the frame's scale, its own pixels.
    if (frameScale == static_cast<float>(image.pixelScale))
        return {std::max(image.width * image.pixelScale, 1), std::max(image.height * image.pixelScale, 1)};
    return {std::max(static_cast<int>(std::lround(static_cast<double>(image.width) * frameScale)), 1),
            std::max(static_cast<int>(std::lround(static_cast<double>(image.height) * frameScale)), 1)};
}

CpuPictures::CpuPictures(const Image& image, int bands, float frameScale)
    : bandCount(bands),
      scale(frameScale),
      width(preparedSize(image, frameScale).width),
      height(preparedSize(image, frameScale).height),
      allOpaque(pictureIsOpaque(image)) {}

CpuPictures::~CpuPictures() {
    for (Set& set : looks)
        for (auto* perBand : {&set.images, &set.turnable})
            for (const auto& list : *perBand)
                for (pixman_image_t* image : list)
                    if (image) pixman_image_unref(image);
}

size_t CpuPictures::bytesHeld() const {
    size_t bytes = 0;
    for (const Set& set : looks)
        for (const std::vector<uint32_t>& pixels : set.pixels) bytes += pixels.size() * sizeof(uint32_t);
    return bytes;
}

void CpuPictures::giveUpPixels(SparePixels& spares) {
    for (Set& set : looks)
        for (std::vector<uint32_t>& pixels : set.pixels) spares.keep(std::move(pixels));
}

pixman_image_t* CpuPictures::frame(int index, FrameLook look, bool turnable, int band) const {
    const Set& set = looks[static_cast<int>(look)];
    return (turnable ? set.turnable : set.images)[band][index];
}

PreparedFrame prepareFrame(const Image& image, FrameLook look, int index, int width, int height, bool allOpaque) {
    PreparedFrame made;
    made.width = width, made.height = height;
    // A shadow is black: only its alpha is kept, a byte a pixel. The shadow of an opaque
    // picture is black all over: one pixel repeated (a background faded in from black would
    // otherwise be held twice).
    const bool alphaOnly = look == FrameLook::Shadow;
    if (alphaOnly && allOpaque) {
        made.pixels.assign(1, 0xFFFFFFFFu);
        made.width = made.height = 1;
        made.repeats = true;
        made.ink = InkBox{0, 0, width, height, true};
        return made;
    }
    const FramePixels frames(image);
    const PixelBlock& block = frames[index];
    if (width != block.width || height != block.height)
        made.pixels = resized(block, look, width, height, (image.flags & ImageFiltered) != 0);
    else
        premultiplyRows(block, look, 0, block.height, made.pixels);
    made.ink = inkOf(made.pixels, width, height);
    if (alphaOnly) made.pixels = alphaBytes(made.pixels.data(), width, height);
    return made;
}

PackedFrame prepareFramePacked(const Image& image, FrameLook look, int index, int width, int height, bool allOpaque) {
    PackedFrame made;
    made.width = width, made.height = height;
    const bool alphaOnly = look == FrameLook::Shadow;
    if (alphaOnly && allOpaque) {
        const PreparedFrame one = prepareFrame(image, look, index, width, height, allOpaque);
        made.width = one.width, made.height = one.height, made.repeats = true, made.ink = one.ink;
        made.pixels = packPixels(one.pixels.data(), 1, 1);
        return made;
    }
    const FramePixels frames(image);
    const PixelBlock& block = frames[index];
    const bool sameSize = width == block.width && height == block.height;
    Resampler resampler(block, look, width, height, (image.flags & ImageFiltered) != 0);
    PixelPacker packer(alphaOnly ? alphaStride(width) / 4 : width);
    InkBox ink = noInk(width, height);
    std::vector<uint32_t> strip;
    for (int top = 0; top < height; top += Resampler::StripRows) {
        const int bottom = std::min(top + Resampler::StripRows, height);
        if (sameSize) {
            premultiplyRows(block, look, top, bottom, strip);
        } else {
            strip.resize(static_cast<size_t>(width) * (bottom - top));
            resampler.rows(top, bottom, strip.data());
        }
        addInk(ink, strip.data(), width, top, bottom - top);
        if (alphaOnly)
            packer.addRows(alphaBytes(strip.data(), width, bottom - top).data(), bottom - top);
        else
            packer.addRows(strip.data(), bottom - top);
    }
    made.ink = finished(ink);
    made.pixels = packer.finish();
    return made;
}

void CpuPictures::prepare(const Image& image, FrameLook look, int index) {
    if (made(look, index)) return;
    adopt(look, index, prepareFrame(image, look, index, width, height, allOpaque), image.frameCount());
}

void CpuPictures::adopt(FrameLook look, int index, PreparedFrame frame, int frameCount) {
    Set& set = looks[static_cast<int>(look)];
    if (set.images.empty()) {
        set.pixels.resize(frameCount);
        set.ink.resize(frameCount);
        set.images.assign(bandCount, std::vector<pixman_image_t*>(frameCount, nullptr));
        set.turnable = set.images;
    }
    if (set.images[0][index]) return;
    const bool alphaOnly = look == FrameLook::Shadow;
    set.ink[index] = frame.ink;
    std::vector<uint32_t>& pixels = set.pixels[index];
    pixels = std::move(frame.pixels);
    const int stride = alphaOnly ? alphaStride(frame.width) : frame.width * 4;
    for (int band = 0; band < bandCount; ++band)
        for (auto* perBand : {&set.images, &set.turnable}) {
            pixman_image_t* made = pixman_image_create_bits(alphaOnly ? PIXMAN_a8 : PIXMAN_a8r8g8b8, frame.width,
                                                            frame.height, pixels.data(), stride);
            if (frame.repeats) pixman_image_set_repeat(made, PIXMAN_REPEAT_NORMAL);
            (*perBand)[band][index] = made;
        }
}

bool CpuPictures::made(FrameLook look, int index) const {
    const Set& set = looks[static_cast<int>(look)];
    return !set.images.empty() && set.images[0][index];
}
