#include "media/draw/cpu/cpu_band.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

pixman_image_t* onePixel(uint32_t* pixel, pixman_repeat_t repeat) {
    pixman_image_t* image = pixman_image_create_bits(PIXMAN_a8r8g8b8, 1, 1, pixel, 4);
    pixman_image_set_repeat(image, repeat);
    return image;
}

pixman_image_t* over(const CpuTarget& target, pixman_format_code_t format) {
    return pixman_image_create_bits(format, target.width, target.height, target.pixels, target.stride * 4);
}

// The draw state with the logical screen's scale folded into its matrix: it then maps a
// picture's logical pixels straight onto the frame's.
DrawState onFrame(DrawState draw, float scale) {
    draw.ix *= scale, draw.iy *= scale, draw.jx *= scale, draw.jy *= scale;
    return draw;
}

// Frame pixel centres back to source pixels: the inverse of the draw matrix, then the
// quad's rectangle (left, top)-(right, bottom) stretched onto the source's size.
bool inverseTransform(pixman_transform_t& fixed, const DrawState& draw, float x, float y, float left, float top,
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
    return pixman_transform_from_pixman_f_transform(&fixed, &inverse);
}

}  // namespace

void CpuCounts::add(const CpuCounts& other) {
    quads += other.quads, composites += other.composites, picturesPrepared += other.picturesPrepared;
    framesPreparedAhead += other.framesPreparedAhead;
    for (size_t i = 0; i < routes.size(); ++i) routes[i] += other.routes[i];
}

CpuScratch::~CpuScratch() {
    if (image) pixman_image_unref(image);
}

pixman_image_t* CpuScratch::atLeast(int width, int wanted) {
    if (wanted <= rows) return image;
    if (image) pixman_image_unref(image);
    rows = wanted;
    pixels.assign(static_cast<size_t>(width) * rows, 0);
    image = pixman_image_create_bits(PIXMAN_a8r8g8b8, width, rows, pixels.data(), width * 4);
    return image;
}

CpuBand::CpuBand(const CpuTarget& target, int top, int bottom, int index)
    : target(target),
      top(top),
      bottom(bottom),
      index(index),
      screenImage(over(target, PIXMAN_a8r8g8b8)),
      opaqueScreen(over(target, PIXMAN_x8r8g8b8)),
      colourMask(onePixel(&colourMaskPixel, PIXMAN_REPEAT_NORMAL)),
      alphaMask(onePixel(&alphaMaskPixel, PIXMAN_REPEAT_NORMAL)),
      whiteFill(onePixel(&whitePixel, PIXMAN_REPEAT_NORMAL)),
      whitePicture(onePixel(&whitePixel, PIXMAN_REPEAT_PAD)) {
    pixman_image_set_component_alpha(colourMask, 1);
}

CpuBand::~CpuBand() {
    for (pixman_image_t* image : {screenImage, opaqueScreen, colourMask, alphaMask, whiteFill, whitePicture})
        pixman_image_unref(image);
}

CpuCounts CpuBand::takeCounts() { return std::exchange(counts, CpuCounts{}); }

void CpuBand::compose(const std::vector<CpuDraw>& draws) {
    placeAll(draws);
    // A band that fits in the cache whole is composed whole: cutting it in strips would only
    // cut its quads in more pieces.
    const bool fitsInCache = static_cast<size_t>(target.width) * (bottom - top) * 4 <= CachedBytes;
    const int stripRows = fitsInCache ? bottom - top : StripRows;
    for (int stripTop = top; stripTop < bottom; stripTop += stripRows)
        composeStrip(stripTop, std::min(stripTop + stripRows, bottom));
    placedDraws.clear();
}

void CpuBand::placeAll(const std::vector<CpuDraw>& draws) {
    for (const CpuDraw& draw : draws) {
        PlacedDraw entry;
        entry.draw = &draw.draw;
        bool placedOne = false;
        switch (draw.kind) {
            case CpuDraw::Kind::Clear: entry.clear = placedOne = true; break;
            case CpuDraw::Kind::Picture: placedOne = placePicture(draw, entry.placed); break;
            case CpuDraw::Kind::Rect: placedOne = placeRect(draw, entry.placed); break;
        }
        if (placedOne) placedDraws.push_back(entry);
    }
}

void CpuBand::composeStrip(int stripTop, int stripBottom) {
    // A clear waits for the next quad that shows here: when that one copies itself over every
    // pixel of the strip (a full-screen background), clearing first is wasted.
    bool clearWaiting = false;
    for (const PlacedDraw& entry : placedDraws) {
        if (entry.clear) {
            clearWaiting = true;
            continue;
        }
        const Placed& placed = entry.placed;
        const int y0 = std::max(placed.box.y0, stripTop), y1 = std::min(placed.box.y1, stripBottom);
        if (y0 >= y1) continue;
        if (clearWaiting && !(copiesOver(placed, *entry.draw) && coversRows(placed.box, stripTop, stripBottom)))
            clearRows(stripTop, stripBottom);
        clearWaiting = false;
        composePart(placed, *entry.draw, y0, y1);
    }
    if (clearWaiting) clearRows(stripTop, stripBottom);
}

void CpuBand::composePart(const Placed& placed, const DrawState& draw, int y0, int y1) {
    // At most a strip's rows at once, so that what is resampled or tinted on the way never
    // needs more scratch than that; a quad's route is counted at its first rows only.
    for (int first = y0; first < y1; first += StripRows) {
        Placed part = placed;
        part.box.y0 = first, part.box.y1 = std::min(first + StripRows, y1);
        part.sourceY += first - placed.box.y0;
        countingRoutes = first == placed.box.y0;
        if (part.scaled || part.resampleFirst) {
            pixman_image_set_transform(part.source, &part.transform);
            pixman_image_set_filter(part.source, part.filter, nullptr, 0);
        }
        if (part.resampleFirst && !(placed.cut && resampleTurned(part, placed.quad))) {
            resample(part);
            if (placed.cut) cutToOutline(placed.quad, part.box);
        }
        blend(part, draw);
    }
    countingRoutes = true;
}

bool CpuBand::copiesOver(const Placed& placed, const DrawState& draw) {
    const Colour& c = draw.colour;
    const bool white = clampChannel(c.r) == 255 && clampChannel(c.g) == 255 && clampChannel(c.b) == 255;
    return placed.copyable && white && draw.blend == BlendMode::Alpha && drawAlphaByte(draw) == 255;
}

bool CpuBand::coversRows(const PixelBox& box, int first, int end) const {
    return box.x0 <= 0 && box.x1 >= target.width && box.y0 <= first && box.y1 >= end;
}

void CpuBand::clearRows(int first, int end) {
    for (int row = first; row < end; ++row) {
        uint32_t* pixels = target.pixels + static_cast<size_t>(row) * target.stride;
        std::fill(pixels, pixels + target.width, 0u);
    }
}

PixelBox CpuBand::clipped(PixelBox box) const {
    box.x0 = std::max(box.x0, 0), box.y0 = std::max(box.y0, top);
    box.x1 = std::min(box.x1, target.width), box.y1 = std::min(box.y1, bottom);
    return box;
}

bool CpuBand::placePicture(const CpuDraw& call, Placed& placed) {
    const PictureFacts& picture = call.picture;
    const float scale = target.scale;
    float x = call.x, y = call.y;
    float left = -picture.handleX, top = -picture.handleY;
    const bool upright = untransformed(call.draw);
    if (upright) {
        // From the first whole logical pixel the quad covers, as the renderer draws it.
        x = static_cast<float>(firstColumn(x + left)), y = static_cast<float>(firstRow(y + top));
        left = 0, top = 0;
    }
    const float right = left + static_cast<float>(picture.width), bottom = top + static_cast<float>(picture.height);
    placed.blackened = call.look == FrameLook::Shadow;
    if (upright && call.pictures->pixelScale() == scale) {
        // Prepared at the frame's scale: copied pixel for pixel from the nearest whole pixel.
        PixelBox whole;
        whole.x0 = static_cast<int>(std::lround(x * scale)), whole.y0 = static_cast<int>(std::lround(y * scale));
        whole.x1 = whole.x0 + picture.pixelWidth, whole.y1 = whole.y0 + picture.pixelHeight;
        // Clear pixels change nothing, so only the frame's inked part is blended.
        const InkBox& ink = call.pictures->ink(call.frame, call.look);
        PixelBox inked{whole.x0 + ink.x0, whole.y0 + ink.y0, whole.x0 + ink.x1, whole.y0 + ink.y1};
        placed.box = clipped(inked);
        if (placed.box.empty()) return false;
        placed.source = call.pictures->frame(call.frame, call.look, false, index);
        placed.sourceX = placed.box.x0 - whole.x0, placed.sourceY = placed.box.y0 - whole.y0;
        placed.copyable = call.look == FrameLook::AsLoaded && call.pictures->opaque();
        took(CpuRoute::Upright);
        return true;
    }
    const DrawState draw = onFrame(call.draw, scale);
    x *= scale, y *= scale;
    const Quad quad = placeQuad(draw, x, y, left, top, right, bottom);
    placed.box = clipped(pixelBox(quad, target.width, target.height));
    if (placed.box.empty()) return false;
    placed.source = call.pictures->frame(call.frame, call.look, true, index);
    placed.filter = picture.filtered ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST;
    // Smooth sampling at an edge reads the edge texel again beyond it (as a frame's border
    // does on the renderer); the picture ends where its quad's pixels end, hard.
    pixman_image_set_repeat(placed.source, PIXMAN_REPEAT_PAD);
    placed.sourceX = placed.box.x0, placed.sourceY = placed.box.y0;
    if (!inverseTransform(placed.transform, draw, x, y, left, top, right, bottom, picture.pixelWidth,
                          picture.pixelHeight))
        return false;
    const bool turned = draw.iy != 0.0f || draw.jx != 0.0f;
    took(turned ? CpuRoute::Turned : CpuRoute::Resampled);
    if (!turned) {
        // An upright quad covers its whole box: plain blends read the scaled source straight.
        placed.scaled = true;
        placed.copyable = call.look == FrameLook::AsLoaded && call.pictures->opaque();
        return true;
    }
    placed.resampleFirst = true, placed.cut = true, placed.quad = quad;
    return true;
}

void CpuBand::resample(Placed& placed) {
    const PixelBox& box = placed.box;
    pixman_image_t* into = resampled.atLeast(target.width, box.height());
    pixman_image_t* source = placed.source;
    const pixman_transform_t& map = placed.transform;
    // Enlarged by half again or more (sparkles): our own two-pass scaling shares the work
    // across a picture row between the frame rows it covers, and costs a fraction of pixman's.
    // Shrunk or barely grown, every frame row needs rows of its own, and pixman does as well.
    const bool enlarged = placed.scaled && placed.filter == PIXMAN_FILTER_BILINEAR &&
                          pixman_image_get_format(source) == PIXMAN_a8r8g8b8 && map.matrix[0][1] == 0 &&
                          map.matrix[1][0] == 0 && map.matrix[1][1] < pixman_fixed_1 * 2 / 3;
    if (enlarged) {
        const PictureRows picture{pixman_image_get_data(source), pixman_image_get_width(source),
                                  pixman_image_get_height(source), pixman_image_get_stride(source) / 4};
        const UprightMapping mapping{map.matrix[0][0], map.matrix[0][2], map.matrix[1][1], map.matrix[1][2]};
        scaler.scale(picture, mapping, placed.sourceX, placed.sourceY, box.width(), box.height(),
                     resampled.row(0, target.width), target.width);
    } else {
        pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, into, placed.sourceX, placed.sourceY, 0, 0, 0, 0,
                                 box.width(), box.height());
        counts.composites += 1;
    }
    placed.source = into;
    placed.sourceX = 0, placed.sourceY = 0;
    placed.copyable = false;
    placed.scaled = false;
    placed.resampleFirst = false;
}

bool CpuBand::resampleTurned(Placed& placed, const Quad& quad) {
    pixman_image_t* source = placed.source;
    if (placed.filter != PIXMAN_FILTER_BILINEAR || pixman_image_get_format(source) != PIXMAN_a8r8g8b8) return false;
    // Only the pixels inside the outline are sampled; the rest of the box is left clear.
    const PixelBox& box = placed.box;
    pixman_image_t* into = resampled.atLeast(target.width, box.height());
    const PictureRows picture{pixman_image_get_data(source), pixman_image_get_width(source),
                              pixman_image_get_height(source), pixman_image_get_stride(source) / 4};
    const auto& m = placed.transform.matrix;
    const TurnedMapping mapping{m[0][0], m[0][1], m[0][2], m[1][0], m[1][1], m[1][2]};
    for (int row = box.y0; row < box.y1; ++row) {
        uint32_t* pixels = resampled.row(row - box.y0, target.width);
        const PixelRange span = coveredColumns(quad, row);
        const int first = std::clamp(span.first, box.x0, box.x1), end = std::clamp(span.end, first, box.x1);
        std::fill(pixels, pixels + (first - box.x0), 0u);
        sampleTurnedRow(picture, mapping, row, first, end, pixels + (first - box.x0));
        std::fill(pixels + (end - box.x0), pixels + box.width(), 0u);
    }
    placed.source = into;
    placed.sourceX = 0, placed.sourceY = 0;
    placed.copyable = false;
    placed.resampleFirst = false;
    return true;
}

bool CpuBand::placeRect(const CpuDraw& call, Placed& placed) {
    const float scale = target.scale;
    const float x = call.x * scale, y = call.y * scale, width = call.width, height = call.height;
    if (untransformed(call.draw)) {
        PixelBox box;
        box.x0 = firstColumn(x + std::min(width, 0.0f) * scale),
        box.x1 = firstColumn(x + std::max(width, 0.0f) * scale);
        box.y0 = firstRow(y + std::min(height, 0.0f) * scale), box.y1 = firstRow(y + std::max(height, 0.0f) * scale);
        placed.box = clipped(box);
        placed.source = whiteFill;
        placed.copyable = true;
        if (placed.box.empty()) return false;
        took(CpuRoute::RectUpright);
        return true;
    }
    const DrawState draw = onFrame(call.draw, scale);
    const Quad quad = placeQuad(draw, x, y, 0, 0, width, height);
    placed.box = clipped(pixelBox(quad, target.width, target.height));
    if (placed.box.empty() || width == 0 || height == 0) return false;
    placed.source = whitePicture;
    placed.sourceX = placed.box.x0, placed.sourceY = placed.box.y0;
    if (!inverseTransform(placed.transform, draw, x, y, 0, 0, width, height, 1, 1)) return false;
    placed.resampleFirst = true, placed.cut = draw.iy != 0.0f || draw.jx != 0.0f, placed.quad = quad;
    took(CpuRoute::RectTurned);
    return true;
}

void CpuBand::cutToOutline(const Quad& quad, const PixelBox& box) {
    for (int row = box.y0; row < box.y1; ++row) {
        const PixelRange span = coveredColumns(quad, row);
        const int first = std::clamp(span.first, box.x0, box.x1), end = std::clamp(span.end, first, box.x1);
        uint32_t* pixels = resampled.row(row - box.y0, target.width);
        std::fill(pixels, pixels + (first - box.x0), 0u);
        std::fill(pixels + (end - box.x0), pixels + box.width(), 0u);
    }
}

void CpuBand::blend(Placed placed, const DrawState& draw) {
    const Colour colour{clampChannel(draw.colour.r), clampChannel(draw.colour.g), clampChannel(draw.colour.b)};
    const bool white = colour.r == 255 && colour.g == 255 && colour.b == 255;
    const bool black = colour.r == 0 && colour.g == 0 && colour.b == 0;
    const int alpha = drawAlphaByte(draw);
    // pixman copies or blends a scaled picture over in one pass as fast as an upright one;
    // through an alpha or a colour, far more slowly than resampling it first.
    const bool plain = white && (draw.blend == BlendMode::Mask || draw.blend == BlendMode::Solid ||
                                 (draw.blend == BlendMode::Alpha && alpha == 255));
    if (placed.scaled && !plain) resample(placed);
    const ChannelScale tint = tintScale(colour.r, colour.g, colour.b, alpha);
    switch (draw.blend) {
        case BlendMode::Light:
            if (white && alpha == 255) return blendRows(CpuRoute::Added, placed, RowBlend::Add, Unscaled);
            return blendRows(CpuRoute::AddedTinted, placed, RowBlend::Add, tint);
        case BlendMode::Alpha:
            if (copiesOver(placed, draw)) return blendRows(CpuRoute::Copy, placed, RowBlend::Copy, Unscaled);
            if (white && alpha == 255) return blendRows(CpuRoute::Over, placed, RowBlend::Over, Unscaled);
            if (white) return blendRows(CpuRoute::Faded, placed, RowBlend::Over, tint);
            // Shadows: black over the frame only darkens it by the picture's alpha.
            if (black && placed.blackened) return blendShadow(placed, alpha);
            alphaMaskPixel = static_cast<uint32_t>(alpha) << 24;
            if (black) return composite(CpuRoute::Blackened, PIXMAN_OP_OUT_REVERSE, placed.source, alphaMask, placed);
            return blendRows(CpuRoute::Tinted, placed, RowBlend::Over, tint);
        case BlendMode::Mask:
        case BlendMode::Solid:
            return blendRows(white ? CpuRoute::Over : CpuRoute::Tinted, placed, RowBlend::Over,
                             tintScale(colour.r, colour.g, colour.b, 255));
        case BlendMode::Shade:
            if (white)
                return composite(CpuRoute::Multiplied, PIXMAN_OP_MULTIPLY, placed.source, nullptr, placed,
                                 opaqueScreen);
            return compositeTinted(CpuRoute::MultipliedTinted, PIXMAN_OP_MULTIPLY, placed,
                                   tintScale(colour.r, colour.g, colour.b, 255));
    }
}

const uint8_t* CpuBand::rowsOf(const Placed& placed, pixman_format_code_t format, int& stride) const {
    pixman_image_t* source = placed.source;
    // A repeated pixel or a transformed source is pixman's to sample.
    if (placed.scaled || pixman_image_get_format(source) != format ||
        pixman_image_get_width(source) < placed.sourceX + placed.box.width() ||
        pixman_image_get_height(source) < placed.sourceY + placed.box.height())
        return nullptr;
    stride = pixman_image_get_stride(source);
    const int bytesPerPixel = format == PIXMAN_a8 ? 1 : 4;
    return reinterpret_cast<const uint8_t*>(pixman_image_get_data(source)) +
           static_cast<size_t>(placed.sourceY) * stride + static_cast<size_t>(placed.sourceX) * bytesPerPixel;
}

void CpuBand::blendRows(CpuRoute route, const Placed& placed, RowBlend how, ChannelScale scale) {
    int stride = 0;
    const uint8_t* from = rowsOf(placed, PIXMAN_a8r8g8b8, stride);
    if (!from) {
        // Through pixman: colour times alpha as a mask, per channel.
        colourMaskPixel = scale;
        pixman_image_t* mask = scale == Unscaled ? nullptr : colourMask;
        if (how == RowBlend::Add) return composite(route, PIXMAN_OP_ADD, placed.source, mask, placed);
        if (how == RowBlend::Copy) return composite(route, PIXMAN_OP_SRC, placed.source, nullptr, placed);
        const bool grey = (scale & 0xFF) * 0x01010101u == scale;
        if (!mask || grey) return composite(route, PIXMAN_OP_OVER, placed.source, mask, placed);
        // A colour through its own alpha per channel would tint differently: the source is
        // tinted first, then blended over.
        return compositeTinted(route, PIXMAN_OP_OVER, placed, scale);
    }
    took(route);
    const PixelBox& box = placed.box;
    for (int row = box.y0; row < box.y1; ++row, from += stride) {
        uint32_t* into = target.pixels + static_cast<size_t>(row) * target.stride + box.x0;
        const auto* source = reinterpret_cast<const uint32_t*>(from);
        switch (how) {
            case RowBlend::Copy: std::memcpy(into, source, static_cast<size_t>(box.width()) * 4); break;
            case RowBlend::Over: blendRowOver(into, source, box.width(), scale); break;
            case RowBlend::Add: blendRowAdd(into, source, box.width(), scale); break;
        }
    }
}

void CpuBand::blendShadow(const Placed& placed, int alpha) {
    took(CpuRoute::Shadow);
    const PixelBox& box = placed.box;
    int stride = 0;
    const uint8_t* from = rowsOf(placed, PIXMAN_a8, stride);
    if (!from) {
        // Black at the draw's alpha through the picture's own alpha (an opaque picture's is a
        // single repeated byte).
        alphaMaskPixel = static_cast<uint32_t>(alpha) << 24;
        pixman_image_composite32(PIXMAN_OP_OVER, alphaMask, placed.source, screenImage, 0, 0, placed.sourceX,
                                 placed.sourceY, box.x0, box.y0, box.width(), box.height());
        counts.composites += 1;
        return;
    }
    for (int row = box.y0; row < box.y1; ++row, from += stride)
        blendRowShadow(target.pixels + static_cast<size_t>(row) * target.stride + box.x0, from, box.width(), alpha);
}

void CpuBand::composite(CpuRoute route, pixman_op_t op, pixman_image_t* source, pixman_image_t* mask,
                        const Placed& placed, pixman_image_t* onto) {
    took(route);
    const PixelBox& box = placed.box;
    pixman_image_composite32(op, source, mask, onto ? onto : screenImage, placed.sourceX, placed.sourceY, 0, 0, box.x0,
                             box.y0, box.width(), box.height());
    counts.composites += 1;
}

void CpuBand::compositeTinted(CpuRoute route, pixman_op_t op, const Placed& placed, ChannelScale tint) {
    took(route);
    const PixelBox& box = placed.box;
    colourMaskPixel = tint;
    pixman_image_t* tinted = scratch.atLeast(target.width, box.height());
    pixman_image_composite32(PIXMAN_OP_SRC, placed.source, colourMask, tinted, placed.sourceX, placed.sourceY, 0, 0, 0,
                             0, box.width(), box.height());
    pixman_image_t* onto = op == PIXMAN_OP_MULTIPLY ? opaqueScreen : screenImage;
    pixman_image_composite32(op, tinted, nullptr, onto, 0, 0, 0, 0, box.x0, box.y0, box.width(), box.height());
    counts.composites += 2;
}
