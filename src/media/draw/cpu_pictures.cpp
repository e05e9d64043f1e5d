#include "media/draw/cpu_pictures.h"

#include <algorithm>

namespace {

uint32_t premultiplied(const uint8_t* rgba, FrameLook look) {
    uint32_t alpha = rgba[3];
    if (look == FrameLook::Snapped) alpha = alpha >= 128 ? 255 : 0;
    if (look == FrameLook::Opaque) alpha = 255;
    if (look == FrameLook::Shadow) return alpha << 24;
    auto scaled = [alpha](uint32_t channel) { return (channel * alpha + 127) / 255; };
    return alpha << 24 | scaled(rgba[0]) << 16 | scaled(rgba[1]) << 8 | scaled(rgba[2]);
}

bool everyPixelOpaque(const Image& image) {
    for (const PixelBlock& block : image.frames)
        for (size_t i = 3; i < block.rgba.size(); i += 4)
            if (block.rgba[i] != 255) return false;
    return true;
}

// Premultiplied pixels of `from` pixels per logical pixel averaged down to `to` (less): each
// pixel the mean of the source pixels it covers, as the generator's sets average down.
std::vector<uint32_t> averagedDown(std::vector<uint32_t>& pixels, int width, int height, int from, int to) {
    const int toWidth = width / from * to, toHeight = height / from * to;
    std::vector<uint32_t> result(static_cast<size_t>(toWidth) * toHeight);
    pixman_image_t* source = pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, pixels.data(), width * 4);
    pixman_image_t* target = pixman_image_create_bits(PIXMAN_a8r8g8b8, toWidth, toHeight, result.data(), toWidth * 4);
    const double ratio = static_cast<double>(from) / to;
    pixman_f_transform scaling{};
    scaling.m[0][0] = ratio, scaling.m[1][1] = ratio, scaling.m[2][2] = 1;
    pixman_transform fixed;
    pixman_transform_from_pixman_f_transform(&fixed, &scaling);
    pixman_image_set_transform(source, &fixed);
    int count = 0;
    const pixman_fixed_t scale = pixman_double_to_fixed(ratio);
    pixman_fixed_t* filter = pixman_filter_create_separable_convolution(
        &count, scale, scale, PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 4, 4);
    pixman_image_set_filter(source, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, filter, count);
    pixman_image_set_repeat(source, PIXMAN_REPEAT_PAD);
    pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, target, 0, 0, 0, 0, 0, 0, toWidth, toHeight);
    free(filter);
    pixman_image_unref(source);
    pixman_image_unref(target);
    return result;
}

}  // namespace

CpuPictures::CpuPictures(const Image& image, int bands, int scale)
    : bandCount(bands), scale(std::clamp(scale, 1, image.pixelScale)), allOpaque(everyPixelOpaque(image)) {}

CpuPictures::~CpuPictures() {
    for (Set& set : looks)
        for (auto* perBand : {&set.images, &set.turnable})
            for (const auto& list : *perBand)
                for (pixman_image_t* image : list) pixman_image_unref(image);
}

pixman_image_t* CpuPictures::frame(int index, FrameLook look, bool turnable, int band) const {
    const Set& set = looks[static_cast<int>(look)];
    return (turnable ? set.turnable : set.images)[band][index];
}

void CpuPictures::prepare(const Image& image, FrameLook look) {
    Set& set = looks[static_cast<int>(look)];
    if (!set.images.empty()) return;
    set.pixels.resize(image.frames.size());
    set.images.resize(bandCount), set.turnable.resize(bandCount);
    for (size_t f = 0; f < image.frames.size(); ++f) {
        const PixelBlock& block = image.frames[f];
        std::vector<uint32_t>& pixels = set.pixels[f];
        pixels.resize(static_cast<size_t>(block.width) * block.height);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = premultiplied(&block.rgba[i * 4], look);
        int width = block.width, height = block.height;
        if (scale < image.pixelScale) {
            pixels = averagedDown(pixels, width, height, image.pixelScale, scale);
            width = width / image.pixelScale * scale, height = height / image.pixelScale * scale;
        }
        for (int band = 0; band < bandCount; ++band)
            for (auto* perBand : {&set.images, &set.turnable})
                (*perBand)[band].push_back(
                    pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, pixels.data(), width * 4));
    }
}
