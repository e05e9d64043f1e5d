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

// Box passes over premultiplied channels: each pixel becomes the average of the 2 * radius + 1
// pixels around it in its row (column); pixels past the ends count as transparent. Sums are
// of whole numbers, so the order they are taken in never changes a result.

void addChannels(int* sums, uint32_t word, int sign) {
    sums[0] += sign * static_cast<int>(word & 0xFF);
    sums[1] += sign * static_cast<int>((word >> 8) & 0xFF);
    sums[2] += sign * static_cast<int>((word >> 16) & 0xFF);
    sums[3] += sign * static_cast<int>(word >> 24);
}

// The average of a window's sum, rounded so faint glows keep their light; looked up, since a
// division for every channel of every pixel is most of a large blur's time.
class Averages {
public:
    explicit Averages(int span) : table(static_cast<size_t>(255 * span + 1)) {
        for (size_t sum = 0; sum < table.size(); ++sum) table[sum] = static_cast<uint32_t>((sum + span / 2) / span);
    }
    uint32_t of(const int* sums) const {
        const auto at = [this](int sum) { return table[static_cast<size_t>(sum)]; };
        return at(sums[0]) | at(sums[1]) << 8 | at(sums[2]) << 16 | at(sums[3]) << 24;
    }

private:
    std::vector<uint32_t> table;
};

void horizontalPass(std::vector<uint32_t>& pixels, int width, int height, int radius, const Averages& average) {
    std::vector<uint32_t> line(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        uint32_t* row = &pixels[static_cast<size_t>(y) * width];
        std::copy_n(row, width, line.begin());
        int sums[4] = {0, 0, 0, 0};
        const auto add = [&](int x, int sign) {
            if (x >= 0 && x < width) addChannels(sums, line[static_cast<size_t>(x)], sign);
        };
        for (int k = -radius; k < radius; ++k) add(k, 1);
        for (int x = 0; x < width; ++x) {
            add(x + radius, 1);
            row[x] = average.of(sums);
            add(x - radius, -1);
        }
    }
}

// Every column at once, a row at a time, so the picture is read in the order it lies in memory.
void verticalPass(std::vector<uint32_t>& pixels, int width, int height, int radius, const Averages& average) {
    const std::vector<uint32_t> source = pixels;
    std::vector<int> sums(static_cast<size_t>(width) * 4, 0);
    const auto add = [&](int y, int sign) {
        if (y < 0 || y >= height) return;
        const uint32_t* row = &source[static_cast<size_t>(y) * width];
        for (int x = 0; x < width; ++x) addChannels(&sums[static_cast<size_t>(x) * 4], row[x], sign);
    };
    for (int k = -radius; k < radius; ++k) add(k, 1);
    for (int y = 0; y < height; ++y) {
        add(y + radius, 1);
        uint32_t* row = &pixels[static_cast<size_t>(y) * width];
        for (int x = 0; x < width; ++x) row[x] = average.of(&sums[static_cast<size_t>(x) * 4]);
        add(y - radius, -1);
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
    const Averages average(2 * radius + 1);
    for (int pass = 0; pass < 3; ++pass) {
        horizontalPass(pixels, width, height, radius, average);
        verticalPass(pixels, width, height, radius, average);
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
