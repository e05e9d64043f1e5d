#include "media/draw/cpu/cpu_canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

bool isBlack(const Colour& c) { return clampChannel(c.r) == 0 && clampChannel(c.g) == 0 && clampChannel(c.b) == 0; }

FrameLook lookFor(const DrawState& draw) {
    switch (draw.blend) {
        case BlendMode::Alpha: return isBlack(draw.colour) ? FrameLook::Shadow : FrameLook::AsLoaded;
        case BlendMode::Mask: return FrameLook::Snapped;
        case BlendMode::Solid:
        case BlendMode::Shade: return FrameLook::Opaque;
        default: return FrameLook::AsLoaded;
    }
}

}  // namespace

CpuCanvas::CpuCanvas(int width, int height, float scale, int bandCount)
    : target{nullptr, width, width, height, scale}, workers(std::clamp(bandCount, 1, std::max(height, 1))) {
    draws.reserve(1024);
}

void CpuCanvas::ensureTarget() {
    if (target.pixels) return;
    // Pixels of its own only for a canvas that is not composed into a window's.
    own.assign(static_cast<size_t>(target.width) * target.height, 0);
    target.pixels = own.data(), target.stride = target.width;
    makeBands();
}

CpuCanvas::~CpuCanvas() { releaseStretch(); }

void CpuCanvas::releaseStretch() {
    for (auto* list : {&stretchSources, &stretchTargets})
        for (pixman_image_t* image : *list) pixman_image_unref(image);
    stretchSources.clear(), stretchTargets.clear();
    stretchedTo = nullptr;
}

void CpuCanvas::stretchInto(uint32_t* pixels, int stride, int width, int height) {
    compose();
    ensureTarget();
    if (pixels != stretchedTo || stretchTargets.empty() || pixman_image_get_width(stretchTargets[0]) != width ||
        stretchHeight != height) {
        releaseStretch();
        pixman_f_transform scaling{};
        scaling.m[0][0] = static_cast<double>(target.width) / width;
        scaling.m[1][1] = static_cast<double>(target.height) / height;
        scaling.m[2][2] = 1;
        pixman_transform fixed;
        pixman_transform_from_pixman_f_transform(&fixed, &scaling);
        stretchMapping = UprightMapping{fixed.matrix[0][0], 0, fixed.matrix[1][1], 0};
        for (int band = 0; band < workers.bands(); ++band) {
            pixman_image_t* source = pixman_image_create_bits(PIXMAN_x8r8g8b8, target.width, target.height,
                                                              target.pixels, target.stride * 4);
            pixman_image_set_transform(source, &fixed);
            pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
            pixman_image_set_repeat(source, PIXMAN_REPEAT_PAD);
            stretchSources.push_back(source);
            stretchTargets.push_back(pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, pixels, stride * 4));
        }
        stretchScalers.resize(workers.bands());
        stretchedTo = pixels;
        stretchHeight = height;
    }
    workers.run(stretchBand, this);
    counts.composites += 1;
}

void CpuCanvas::stretchBand(void* canvas, int band) {
    auto& self = *static_cast<CpuCanvas*>(canvas);
    const int bands = self.workers.bands(), height = self.stretchHeight;
    const int top = height * band / bands, bottom = height * (band + 1) / bands;
    pixman_image_t* into = self.stretchTargets[band];
    const int width = pixman_image_get_width(into);
    if (height >= self.target.height * 3 / 2) {
        // Enlarged by half again or more (a 4K window's frame composed at scale 2): our own
        // two-pass scaling mixes each frame row across once for the window rows it serves.
        const int stride = pixman_image_get_stride(into) / 4;
        self.stretchScalers[band].scale(
            PictureRows{self.target.pixels, self.target.width, self.target.height, self.target.stride},
            self.stretchMapping, 0, top, width, bottom - top,
            pixman_image_get_data(into) + static_cast<size_t>(top) * stride, stride, true);
        return;
    }
    pixman_image_composite32(PIXMAN_OP_SRC, self.stretchSources[band], nullptr, into, 0, top, 0, 0, 0, top, width,
                             bottom - top);
}

void CpuCanvas::makeBands() {
    bands.clear();
    const int count = workers.bands();
    for (int band = 0; band < count; ++band)
        bands.push_back(
            std::make_unique<CpuBand>(target, target.height * band / count, target.height * (band + 1) / count, band));
}

void CpuCanvas::composeInto(uint32_t* pixels, int stride) {
    releaseStretch();  // its source is the canvas's own pixels
    if (pixels) {
        target.pixels = pixels, target.stride = stride;
        std::vector<uint32_t>().swap(own);
    } else {
        target.pixels = own.empty() ? nullptr : own.data(), target.stride = target.width;
    }
    if (target.pixels)
        makeBands();
    else
        bands.clear();
}

const uint32_t* CpuCanvas::pixels() {
    ensureTarget();
    return target.pixels;
}

void CpuCanvas::startFrame() {
    // Nothing recorded yet can use what was made for a picture gone since the last frame (the
    // level just left's background): freed before the next one's is made, not beside it.
    pictures.sweep();
    pictures.releaseRetired();
}

void CpuCanvas::clear() {
    if (draws.empty()) startFrame();
    CpuDraw call;
    call.kind = CpuDraw::Kind::Clear;
    draws.push_back(call);
}

void CpuCanvas::drawImage(const Image& image, float x, float y, int frame, const DrawState& draw) {
    if (frame < 0 || frame >= image.frameCount() || !quadCanShow(draw)) return;
    if (draws.empty()) startFrame();
    const int bandCount = workers.bands();
    // Every picture is resampled once to the frame's scale, and then copied where it is drawn
    // upright.
    const float scale = target.scale;
    CpuPictures& prepared = pictures.of(image, [this, bandCount, scale](const Image& picture) {
        counts.picturesPrepared += 1;
        return std::make_unique<CpuPictures>(picture, bandCount, scale);
    });
    CpuDraw call;
    call.kind = CpuDraw::Kind::Picture;
    call.look = lookFor(draw);
    if (ahead && !prepared.made(call.look, frame))
        if (std::optional<PreparedFrame> ready = ahead->take(image, scale, call.look, spares)) {
            prepared.adopt(call.look, frame, std::move(*ready), image.frameCount());
            counts.framesPreparedAhead += 1;
        }
    prepared.prepare(image, call.look, frame);
    call.pictures = &prepared;
    call.picture = PictureFacts{image.width,
                                image.height,
                                image.handleX,
                                image.handleY,
                                prepared.pixelWidth(),
                                prepared.pixelHeight(),
                                (image.flags & ImageFiltered) != 0};
    call.frame = frame, call.x = x, call.y = y, call.draw = draw;
    draws.push_back(call);
    counts.quads += 1;
}

void CpuCanvas::drawRect(float x, float y, float width, float height, const DrawState& draw) {
    if (!quadCanShow(draw)) return;
    CpuDraw call;
    call.kind = CpuDraw::Kind::Rect;
    call.x = x, call.y = y, call.width = width, call.height = height, call.draw = draw;
    draws.push_back(call);
    counts.quads += 1;
}

void CpuCanvas::composeBand(void* canvas, int band) {
    auto& self = *static_cast<CpuCanvas*>(canvas);
    self.bands[band]->compose(self.draws);
}

void CpuCanvas::compose() {
    if (draws.empty()) return;
    ensureTarget();
    workers.run(composeBand, this);
    // The game changes screens through a frame it only clears (into play, back to the menu):
    // the pictures of the screen left are let go then, rather than held beside the next
    // screen's (at 3840 x 2160 the menu's alone are 30 MB).
    const bool blank =
        std::all_of(draws.begin(), draws.end(), [](const CpuDraw& draw) { return draw.kind == CpuDraw::Kind::Clear; });
    if (blank) pictures.retireAll();
    draws.clear();
    // No recorded draw refers to them any more; the memory of the screen left goes to the
    // next screen's pictures.
    if (blank) {
        pictures.releaseRetired([this](CpuPictures& prepared) { prepared.giveUpPixels(spares); });
    } else {
        pictures.releaseRetired();
        spares.frameComposed();
    }
}

size_t CpuCanvas::pictureBytesHeld() const {
    size_t bytes = 0;
    pictures.forEach([&bytes](const CpuPictures& prepared) { bytes += prepared.bytesHeld(); });
    return bytes;
}

PixelBlock CpuCanvas::read() {
    compose();
    ensureTarget();
    PixelBlock block{target.width, target.height,
                     std::vector<uint8_t>(static_cast<size_t>(target.width) * target.height * 4)};
    size_t i = 0;
    for (int row = 0; row < target.height; ++row) {
        const uint32_t* pixels = target.pixels + static_cast<size_t>(row) * target.stride;
        for (int column = 0; column < target.width; ++column, i += 4) {
            block.rgba[i + 0] = static_cast<uint8_t>(pixels[column] >> 16);
            block.rgba[i + 1] = static_cast<uint8_t>(pixels[column] >> 8);
            block.rgba[i + 2] = static_cast<uint8_t>(pixels[column]);
            block.rgba[i + 3] = 255;
        }
    }
    return block;
}

CpuCanvas::Counts CpuCanvas::takeCounts() {
    compose();
    for (const auto& band : bands) counts.add(band->takeCounts());
    return std::exchange(counts, Counts{});
}
