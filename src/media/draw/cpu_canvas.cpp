#include "media/draw/cpu_canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "media/draw/cpu_pictures.h"

namespace {

pixman_image_t* onePixel(uint32_t* pixel, pixman_repeat_t repeat) {
    pixman_image_t* image = pixman_image_create_bits(PIXMAN_a8r8g8b8, 1, 1, pixel, 4);
    pixman_image_set_repeat(image, repeat);
    return image;
}

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

// The screen box an untransformed picture covers: one texel to a pixel from the first pixel
// the rasteriser draws of its quad.
PixelBox uprightBox(float left, float top, int width, int height) {
    PixelBox box;
    box.x0 = firstColumn(left), box.y0 = firstRow(top);
    box.x1 = box.x0 + width, box.y1 = box.y0 + height;
    return box;
}

PixelBox clipped(PixelBox box, int screenWidth, int screenHeight) {
    box.x0 = std::max(box.x0, 0), box.y0 = std::max(box.y0, 0);
    box.x1 = std::min(box.x1, screenWidth), box.y1 = std::min(box.y1, screenHeight);
    return box;
}

// Screen pixel centres back to source pixels: the inverse of the draw matrix, then the
// quad's rectangle (left, top)-(right, bottom) stretched onto the source's size.
bool setInverseTransform(pixman_image_t* source, const DrawState& draw, float x, float y, float left, float top,
                         float right, float bottom, int sourceWidth, int sourceHeight) {
    const double det = static_cast<double>(draw.ix) * draw.jy - static_cast<double>(draw.iy) * draw.jx;
    if (std::fabs(det) < 1e-9) return false;
    const double i00 = draw.jy / det, i01 = -draw.iy / det, i10 = -draw.jx / det, i11 = draw.ix / det;
    const double kx = sourceWidth / static_cast<double>(right - left);
    const double ky = sourceHeight / static_cast<double>(bottom - top);
    pixman_f_transform inverse{};
    inverse.m[0][0] = i00 * kx, inverse.m[0][1] = i01 * kx, inverse.m[0][2] = (-i00 * x - i01 * y - left) * kx;
    inverse.m[1][0] = i10 * ky, inverse.m[1][1] = i11 * ky, inverse.m[1][2] = (-i10 * x - i11 * y - top) * ky;
    inverse.m[2][2] = 1;
    pixman_transform fixed;
    if (!pixman_transform_from_pixman_f_transform(&fixed, &inverse)) return false;
    return pixman_image_set_transform(source, &fixed);
}

}  // namespace

CpuCanvas::CpuCanvas(int width, int height)
    : screenWidth(width),
      screenHeight(height),
      screen(static_cast<size_t>(width) * height, 0),
      resampledPixels(static_cast<size_t>(width) * height, 0),
      scratchPixels(static_cast<size_t>(width) * height, 0),
      screenImage(pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, screen.data(), width * 4)),
      opaqueScreen(pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, screen.data(), width * 4)),
      resampled(pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, resampledPixels.data(), width * 4)),
      scratch(pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, scratchPixels.data(), width * 4)),
      colourMask(onePixel(&colourMaskPixel, PIXMAN_REPEAT_NORMAL)),
      alphaMask(onePixel(&alphaMaskPixel, PIXMAN_REPEAT_NORMAL)),
      whiteFill(onePixel(&whitePixel, PIXMAN_REPEAT_NORMAL)),
      whitePicture(onePixel(&whitePixel, PIXMAN_REPEAT_PAD)) {
    pixman_image_set_component_alpha(colourMask, 1);
}

CpuCanvas::~CpuCanvas() {
    for (pixman_image_t* image :
         {screenImage, opaqueScreen, resampled, scratch, colourMask, alphaMask, whiteFill, whitePicture})
        pixman_image_unref(image);
}

void CpuCanvas::clear() {
    std::fill(screen.begin(), screen.end(), 0u);
    pictures.releaseRetired();
}

void CpuCanvas::drawImage(const Image& image, float x, float y, int frame, const DrawState& draw) {
    if (frame < 0 || frame >= image.frameCount() || !quadCanShow(draw)) return;
    Placed placed;
    if (placePicture(image, frame, lookFor(draw), x, y, draw, placed)) blend(placed, draw);
}

void CpuCanvas::drawRect(float x, float y, float width, float height, const DrawState& draw) {
    if (!quadCanShow(draw)) return;
    Placed placed;
    if (placeRect(x, y, width, height, draw, placed)) blend(placed, draw);
}

bool CpuCanvas::placePicture(const Image& image, int frame, FrameLook look, float x, float y, const DrawState& draw,
                             Placed& placed) {
    CpuPictures& prepared =
        pictures.of(image, [](const Image& picture) { return std::make_unique<CpuPictures>(picture); });
    const float left = -image.handleX, top = -image.handleY;
    const float right = left + static_cast<float>(image.width), bottom = top + static_cast<float>(image.height);
    if (untransformed(draw)) {
        const PixelBox whole = uprightBox(x + left, y + top, image.width, image.height);
        placed.box = clipped(whole, screenWidth, screenHeight);
        if (placed.box.empty()) return false;
        placed.source = prepared.frame(image, frame, look, false);
        placed.sourceX = placed.box.x0 - whole.x0, placed.sourceY = placed.box.y0 - whole.y0;
        placed.copyable = look == FrameLook::AsLoaded && prepared.opaque();
        placed.blackened = look == FrameLook::Shadow;
        took(CpuRoute::Upright);
        return true;
    }
    const Quad quad = placeQuad(draw, x, y, left, top, right, bottom);
    placed.box = pixelBox(quad, screenWidth, screenHeight);
    if (placed.box.empty()) return false;
    placed.source = prepared.frame(image, frame, look, true);
    placed.blackened = look == FrameLook::Shadow;
    const bool filtered = (image.flags & ImageFiltered) != 0;
    pixman_image_set_filter(placed.source, filtered ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
    // Smooth sampling at an edge reads the edge texel again beyond it (as a frame's border
    // does on the renderer); the picture ends where its quad's pixels end, hard.
    pixman_image_set_repeat(placed.source, PIXMAN_REPEAT_PAD);
    placed.sourceX = placed.box.x0, placed.sourceY = placed.box.y0;
    if (!setInverseTransform(placed.source, draw, x, y, left, top, right, bottom, image.width, image.height))
        return false;
    resample(placed);
    const bool upright = draw.iy == 0.0f && draw.jx == 0.0f;
    if (!upright) cutToOutline(quad, placed.box);
    took(upright ? CpuRoute::Resampled : CpuRoute::Turned);
    return true;
}

void CpuCanvas::resample(Placed& placed) {
    const PixelBox& box = placed.box;
    pixman_image_composite32(PIXMAN_OP_SRC, placed.source, nullptr, resampled, placed.sourceX, placed.sourceY, 0, 0, 0,
                             0, box.width(), box.height());
    counts.composites += 1;
    placed.source = resampled;
    placed.sourceX = 0, placed.sourceY = 0;
    placed.copyable = false;
}

bool CpuCanvas::placeRect(float x, float y, float width, float height, const DrawState& draw, Placed& placed) {
    if (untransformed(draw)) {
        PixelBox box;
        box.x0 = firstColumn(x + std::min(width, 0.0f)), box.x1 = firstColumn(x + std::max(width, 0.0f));
        box.y0 = firstRow(y + std::min(height, 0.0f)), box.y1 = firstRow(y + std::max(height, 0.0f));
        placed.box = clipped(box, screenWidth, screenHeight);
        placed.source = whiteFill;
        placed.copyable = true;
        if (placed.box.empty()) return false;
        took(CpuRoute::RectUpright);
        return true;
    }
    const Quad quad = placeQuad(draw, x, y, 0, 0, width, height);
    placed.box = pixelBox(quad, screenWidth, screenHeight);
    if (placed.box.empty() || width == 0 || height == 0) return false;
    placed.source = whitePicture;
    placed.sourceX = placed.box.x0, placed.sourceY = placed.box.y0;
    if (!setInverseTransform(whitePicture, draw, x, y, 0, 0, width, height, 1, 1)) return false;
    resample(placed);
    if (draw.iy != 0.0f || draw.jx != 0.0f) cutToOutline(quad, placed.box);
    took(CpuRoute::RectTurned);
    return true;
}

void CpuCanvas::cutToOutline(const Quad& quad, const PixelBox& box) {
    for (int row = box.y0; row < box.y1; ++row) {
        const PixelRange span = coveredColumns(quad, row);
        const int first = std::clamp(span.first, box.x0, box.x1), end = std::clamp(span.end, first, box.x1);
        uint32_t* pixels = &resampledPixels[static_cast<size_t>(row - box.y0) * screenWidth];
        std::fill(pixels, pixels + (first - box.x0), 0u);
        std::fill(pixels + (end - box.x0), pixels + box.width(), 0u);
    }
}

void CpuCanvas::blend(const Placed& placed, const DrawState& draw) {
    counts.quads += 1;
    const Colour colour{clampChannel(draw.colour.r), clampChannel(draw.colour.g), clampChannel(draw.colour.b)};
    const bool white = colour.r == 255 && colour.g == 255 && colour.b == 255;
    const bool black = colour.r == 0 && colour.g == 0 && colour.b == 0;
    const int alpha = drawAlphaByte(draw);
    switch (draw.blend) {
        case BlendMode::Light:
            if (white && alpha == 255) return composite(CpuRoute::Added, PIXMAN_OP_ADD, placed.source, nullptr, placed);
            colourMaskPixel = static_cast<uint32_t>(alpha) << 24 | static_cast<uint32_t>(colour.r * alpha / 255) << 16 |
                              static_cast<uint32_t>(colour.g * alpha / 255) << 8 |
                              static_cast<uint32_t>(colour.b * alpha / 255);
            return composite(CpuRoute::AddedTinted, PIXMAN_OP_ADD, placed.source, colourMask, placed);
        case BlendMode::Alpha:
            if (white && alpha == 255) {
                if (placed.copyable) return composite(CpuRoute::Copy, PIXMAN_OP_SRC, placed.source, nullptr, placed);
                return composite(CpuRoute::Over, PIXMAN_OP_OVER, placed.source, nullptr, placed);
            }
            alphaMaskPixel = static_cast<uint32_t>(alpha) << 24;
            if (white) return composite(CpuRoute::Faded, PIXMAN_OP_OVER, placed.source, alphaMask, placed);
            // Shadows: black over the screen only darkens it by the picture's alpha.
            if (black && placed.blackened)
                return composite(CpuRoute::Shadow, PIXMAN_OP_OVER, placed.source, alphaMask, placed);
            if (black) return composite(CpuRoute::Blackened, PIXMAN_OP_OUT_REVERSE, placed.source, alphaMask, placed);
            return compositeTinted(PIXMAN_OP_OVER, placed, colour, alpha);
        case BlendMode::Mask:
        case BlendMode::Solid:
            if (white) return composite(CpuRoute::Over, PIXMAN_OP_OVER, placed.source, nullptr, placed);
            return compositeTinted(PIXMAN_OP_OVER, placed, colour, 255);
        case BlendMode::Shade:
            if (white)
                return composite(CpuRoute::Multiplied, PIXMAN_OP_MULTIPLY, placed.source, nullptr, placed,
                                 opaqueScreen);
            return compositeTinted(PIXMAN_OP_MULTIPLY, placed, colour, 255);
    }
}

void CpuCanvas::composite(CpuRoute route, pixman_op_t op, pixman_image_t* source, pixman_image_t* mask,
                          const Placed& placed, pixman_image_t* target) {
    took(route);
    const PixelBox& box = placed.box;
    pixman_image_composite32(op, source, mask, target ? target : screenImage, placed.sourceX, placed.sourceY, 0, 0,
                             box.x0, box.y0, box.width(), box.height());
    counts.composites += 1;
}

void CpuCanvas::compositeTinted(pixman_op_t op, const Placed& placed, const Colour& colour, int alpha) {
    took(op == PIXMAN_OP_MULTIPLY ? CpuRoute::MultipliedTinted : CpuRoute::Tinted);
    const PixelBox& box = placed.box;
    colourMaskPixel = static_cast<uint32_t>(alpha) << 24 | static_cast<uint32_t>(colour.r * alpha / 255) << 16 |
                      static_cast<uint32_t>(colour.g * alpha / 255) << 8 |
                      static_cast<uint32_t>(colour.b * alpha / 255);
    pixman_image_composite32(PIXMAN_OP_SRC, placed.source, colourMask, scratch, placed.sourceX, placed.sourceY, 0, 0, 0,
                             0, box.width(), box.height());
    pixman_image_t* target = op == PIXMAN_OP_MULTIPLY ? opaqueScreen : screenImage;
    pixman_image_composite32(op, scratch, nullptr, target, 0, 0, 0, 0, box.x0, box.y0, box.width(), box.height());
    counts.composites += 2;
}

PixelBlock CpuCanvas::read() const {
    PixelBlock block{screenWidth, screenHeight, std::vector<uint8_t>(screen.size() * 4)};
    for (size_t i = 0; i < screen.size(); ++i) {
        block.rgba[i * 4 + 0] = static_cast<uint8_t>(screen[i] >> 16);
        block.rgba[i * 4 + 1] = static_cast<uint8_t>(screen[i] >> 8);
        block.rgba[i * 4 + 2] = static_cast<uint8_t>(screen[i]);
        block.rgba[i * 4 + 3] = 255;
    }
    return block;
}

CpuCanvas::Counts CpuCanvas::takeCounts() { return std::exchange(counts, Counts{}); }
