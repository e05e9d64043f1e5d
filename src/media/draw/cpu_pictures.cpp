#include "media/draw/cpu_pictures.h"

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

}  // namespace

CpuPictures::CpuPictures(const Image& image) : allOpaque(everyPixelOpaque(image)) {}

CpuPictures::~CpuPictures() {
    for (Set& set : looks)
        for (auto* list : {&set.images, &set.turnable})
            for (pixman_image_t* image : *list) pixman_image_unref(image);
}

pixman_image_t* CpuPictures::frame(const Image& image, int index, FrameLook look, bool turnable) {
    Set& set = looks[static_cast<int>(look)];
    if (set.images.empty()) prepare(image, look);
    return turnable ? set.turnable[index] : set.images[index];
}

void CpuPictures::prepare(const Image& image, FrameLook look) {
    Set& set = looks[static_cast<int>(look)];
    set.pixels.resize(image.frames.size());
    for (size_t f = 0; f < image.frames.size(); ++f) {
        const PixelBlock& block = image.frames[f];
        std::vector<uint32_t>& pixels = set.pixels[f];
        pixels.resize(static_cast<size_t>(block.width) * block.height);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = premultiplied(&block.rgba[i * 4], look);
        for (auto* list : {&set.images, &set.turnable})
            list->push_back(
                pixman_image_create_bits(PIXMAN_a8r8g8b8, block.width, block.height, pixels.data(), block.width * 4));
    }
}
