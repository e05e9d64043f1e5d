// "gfx/tahomafont.spr": the small proportional font, one 13 x 13 cell per character
// code 33..122. White glyphs with a dark outline baked in, so captions stay readable
// over bright cables and backgrounds; glyph and outline both stay inside the advance.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "artwork.h"
#include "common/picture_canvas.h"

namespace {

constexpr double FontSize = 11.0;
constexpr double Baseline = 10.0;
// Outline colour and strength: dark enough to part white strokes from cyan cables; even a
// thin, partly covered stroke gets a solid outline.
constexpr int OutlineRed = 4, OutlineGreen = 10, OutlineBlue = 16;
constexpr double OutlineStrength = 2.0;
// Unhinted strokes often fall across two pixel rows at half coverage; firming the coverage
// keeps them white instead of grey.
constexpr double CoreFirmness = 1.35;
constexpr double DiagonalWeight = 0.75;

int advanceOf(int code) { return SmallGlyphWidths[static_cast<size_t>(code - FirstSmallGlyph)] - 1; }

// Columns the white glyph may use: one outline column on each side where the advance
// allows it; the narrowest glyphs keep only the column on their right.
struct CoreColumns {
    int first, end;
};
CoreColumns coreColumns(int advance) {
    if (advance >= 3) return {1, advance - 1};
    return {0, 1};
}

void drawCore(cairo_t* cr, const FontLibrary& fonts, int code) {
    const std::string text(1, static_cast<char>(code));
    fonts.use(cr, FontStyle::Sans, FontSize);
    const TextInk ink = measureText(cr, text);
    if (ink.width <= 0) return;
    const CoreColumns core = coreColumns(advanceOf(code));
    const double limit = core.end - core.first;
    // Squeeze horizontally until the ink fits; never stretch.
    const double squeeze = std::min(1.0, (limit - 0.02) / ink.width);
    // Keep the face's own left side bearing while it still fits, so spacing looks natural.
    const double room = limit - ink.width * squeeze;
    const double bearing = std::clamp(std::round(ink.left * squeeze * 2) / 2, 0.0, std::max(0.0, room));
    cairo_translate(cr, core.first + bearing - ink.left * squeeze, 0);
    cairo_scale(cr, squeeze, 1.0);
    textPath(cr, 0, Baseline, text);
    setColour(cr, 255, 255, 255);
    cairo_fill(cr);
}

// Weight of a neighbour at (dx, dy) pixels in an outline `reach` pixels wide: full within
// the reach, a little weaker toward the corners of the square around it.
double spreadWeight(int dx, int dy, int reach) { return dx * dx + dy * dy <= reach * reach ? 1.0 : DiagonalWeight; }

// The outline: the glyph's (firmed) coverage spread by one logical pixel (diagonals a little
// weaker), under the glyph; glyph and outline are kept inside the advance.
void bakeOutline(Canvas& glyph, int advance) {
    cairo_surface_flush(glyph.surface());
    const int reach = glyph.scale(), columns = std::min(glyph.width(), advance * glyph.scale());
    const int size = glyph.width(), stride = cairo_image_surface_get_stride(glyph.surface());
    unsigned char* data = cairo_image_surface_get_data(glyph.surface());
    const auto word = [&](int x, int y) -> uint32_t& {
        return reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride)[x];
    };
    std::vector<double> core(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            core[static_cast<size_t>(y * size + x)] = std::min(1.0, CoreFirmness * (word(x, y) >> 24) / 255.0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < columns; ++x) {
            double spread = 0;
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= size || ny >= size) continue;
                    spread = std::max(spread, spreadWeight(dx, dy, reach) * core[static_cast<size_t>(ny * size + nx)]);
                }
            const double own = core[static_cast<size_t>(y * size + x)];
            const double outline = std::min(1.0, spread * OutlineStrength) * (1 - own);
            // Premultiplied white glyph over the dark outline.
            const double alpha = own + outline;
            const auto channel = [&](int dark) {
                return static_cast<uint32_t>(std::lround(255 * own + dark * outline));
            };
            word(x, y) = static_cast<uint32_t>(std::lround(alpha * 255)) << 24 | channel(OutlineRed) << 16 |
                         channel(OutlineGreen) << 8 | channel(OutlineBlue);
        }
    // What the rasteriser's rounding may leave past the advance goes: the next glyph starts there.
    for (int y = 0; y < size; ++y)
        for (int x = columns; x < size; ++x) word(x, y) = 0;
    cairo_surface_mark_dirty(glyph.surface());
}

void drawGlyph(cairo_t* cr, const FontLibrary& fonts, int code) {
    Canvas glyph(SmallGlyphSize, SmallGlyphSize, scaleOf(cr));
    drawCore(glyph.cr(), fonts, code);
    bakeOutline(glyph, advanceOf(code));
    cairo_set_source_surface(cr, glyph.surface(), 0, 0);
    cairo_paint(cr);
}

}  // namespace

PixelBlock makeSmallFont(const FontLibrary& fonts, int scale) {
    return drawStrip(SmallGlyphSize, SmallGlyphSize, static_cast<int>(SmallGlyphWidths.size()), 10, scale,
                     [&](cairo_t* cr, int index) { drawGlyph(cr, fonts, FirstSmallGlyph + index); });
}
