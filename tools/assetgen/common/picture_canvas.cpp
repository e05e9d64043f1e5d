#include "common/picture_canvas.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

cairo_surface_t* scaledSurface(int width, int height, int scale) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * scale, height * scale);
    // Before any context is made on it, so everything drawn there is in logical pixels.
    if (scale != 1) cairo_surface_set_device_scale(surface, scale, scale);
    return surface;
}

}  // namespace

Canvas::Canvas(int width, int height, int scale)
    : target(scaledSurface(width, height, scale)), context(cairo_create(target)), pixelsPerUnit(scale) {}

int scaleOf(cairo_t* cr) {
    double x = 1, y = 1;
    cairo_surface_get_device_scale(cairo_get_target(cr), &x, &y);
    return static_cast<int>(x);
}

Canvas::~Canvas() {
    cairo_destroy(context);
    cairo_surface_destroy(target);
}

// cairo keeps each pixel as a native-endian 32-bit word A R G B with colour premultiplied.
PixelBlock Canvas::pixels() const {
    cairo_surface_flush(target);
    PixelBlock block{width(), height(), {}};
    block.rgba.resize(static_cast<size_t>(block.width) * block.height * 4);
    const int stride = cairo_image_surface_get_stride(target);
    const unsigned char* data = cairo_image_surface_get_data(target);
    for (int y = 0; y < block.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < block.width; ++x) {
            const uint32_t word = row[x];
            const int alpha = static_cast<int>(word >> 24);
            uint8_t* out = &block.rgba[(static_cast<size_t>(y) * block.width + x) * 4];
            for (int c = 0; c < 3; ++c) {
                const int premultiplied = static_cast<int>((word >> (16 - 8 * c)) & 0xFF);
                out[c] =
                    alpha == 0 ? 0 : static_cast<uint8_t>(std::min(255, (premultiplied * 255 + alpha / 2) / alpha));
            }
            out[3] = static_cast<uint8_t>(alpha);
        }
    }
    return block;
}

namespace {

// One horizontal box pass over premultiplied channels; transposed reading makes it vertical.
void boxPass(std::vector<uint32_t>& pixels, int width, int height, int radius, bool vertical) {
    const int lines = vertical ? width : height;
    const int length = vertical ? height : width;
    std::vector<uint32_t> line(static_cast<size_t>(length));
    const auto at = [&](int lineIndex, int i) -> uint32_t& {
        return vertical ? pixels[static_cast<size_t>(i) * width + lineIndex]
                        : pixels[static_cast<size_t>(lineIndex) * width + i];
    };
    const int span = 2 * radius + 1;
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < length; ++i) line[static_cast<size_t>(i)] = at(l, i);
        // A running sum over the window; pixels past the ends count as transparent.
        int sums[4] = {0, 0, 0, 0};
        const auto addPixel = [&](int i, int sign) {
            if (i < 0 || i >= length) return;
            for (int c = 0; c < 4; ++c)
                sums[c] += sign * static_cast<int>((line[static_cast<size_t>(i)] >> (8 * c)) & 0xFF);
        };
        for (int k = -radius; k < radius; ++k) addPixel(k, 1);
        for (int i = 0; i < length; ++i) {
            addPixel(i + radius, 1);
            uint32_t word = 0;
            for (int c = 0; c < 4; ++c)
                word |= static_cast<uint32_t>((sums[c] + span / 2) / span)
                        << (8 * c);  // rounded, so faint glows keep their light
            at(l, i) = word;
            addPixel(i - radius, -1);
        }
    }
}

}  // namespace

void blurCanvas(Canvas& canvas, int logicalRadius) {
    const int radius = logicalRadius * canvas.scale();
    if (radius < 1) return;
    cairo_surface_flush(canvas.surface());
    const int width = canvas.width(), height = canvas.height();
    const int stride = cairo_image_surface_get_stride(canvas.surface());
    unsigned char* data = cairo_image_surface_get_data(canvas.surface());
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        std::copy_n(reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride), width,
                    &pixels[static_cast<size_t>(y) * width]);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(pixels, width, height, radius, false);
        boxPass(pixels, width, height, radius, true);
    }
    for (int y = 0; y < height; ++y)
        std::copy_n(&pixels[static_cast<size_t>(y) * width], width,
                    reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride));
    cairo_surface_mark_dirty(canvas.surface());
}

void addCanvas(Canvas& target, const Canvas& source, double x, double y, double alpha) {
    cairo_t* cr = target.cr();
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    cairo_set_source_surface(cr, source.surface(), x, y);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

PixelBlock drawStrip(int cellWidth, int cellHeight, int count, int perRow, int scale,
                     const std::function<void(cairo_t*, int)>& drawCell) {
    const int rows = (count + perRow - 1) / perRow;
    Canvas strip(cellWidth * perRow, cellHeight * rows, scale);
    cairo_t* cr = strip.cr();
    for (int index = 0; index < count; ++index) {
        cairo_save(cr);
        cairo_translate(cr, (index % perRow) * cellWidth, (index / perRow) * cellHeight);
        cairo_rectangle(cr, 0, 0, cellWidth, cellHeight);
        cairo_clip(cr);
        cairo_new_path(cr);
        drawCell(cr, index);
        cairo_restore(cr);
    }
    return strip.pixels();
}

void makeOpaqueWithoutBlack(PixelBlock& pixels) {
    for (size_t i = 0; i + 3 < pixels.rgba.size(); i += 4) {
        uint8_t* p = &pixels.rgba[i];
        if (p[0] == 0 && p[1] == 0 && p[2] == 0) p[0] = p[1] = p[2] = 1;
        p[3] = 255;
    }
}

void setColour(cairo_t* cr, int red, int green, int blue, double alpha) {
    cairo_set_source_rgba(cr, red / 255.0, green / 255.0, blue / 255.0, alpha);
}

void roundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius) {
    constexpr double Quarter = 1.5707963267948966;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -Quarter, 0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, Quarter);
    cairo_arc(cr, x + radius, y + height - radius, radius, Quarter, 2 * Quarter);
    cairo_arc(cr, x + radius, y + radius, radius, 2 * Quarter, 3 * Quarter);
    cairo_close_path(cr);
}
