// "gfx/bigfont.spr": the timer digits "0".."9" and ":", drawn at a fixed advance of 27.
// The timer's frames start at y 545 while the largest board reaches down to y 564 (its
// tiles to 568), so the ink sits in the lower half of the frame: below the board, above
// the bottom of the screen.

#include <algorithm>
#include <string>

#include "artwork.h"
#include "common/picture_canvas.h"

namespace {

constexpr int CellWidth = 46, CellHeight = 64;
constexpr double InkBoxLeft = 1.0, InkBoxWidth = 24.0;
constexpr double InkTop = 24.0, Baseline = 53.0;
constexpr double OutlineWidth = 2.0;  // half of it outside the glyph

void drawDigit(cairo_t* cr, const FontLibrary& fonts, int index) {
    const std::string text(1, static_cast<char>('0' + index));
    fonts.use(cr, FontStyle::SansBold, 50.0);
    const TextInk digitZero = measureText(cr, "0");
    // One size for every glyph: the digit height fills the band from InkTop to the baseline.
    fonts.use(cr, FontStyle::SansBold, 50.0 * (Baseline - InkTop) / -digitZero.top);
    const TextInk ink = measureText(cr, text);
    // Every glyph squeezed to the same box width at most; narrow ones sit in its middle.
    const double squeeze = std::min(1.0, InkBoxWidth / ink.width);
    const double left = InkBoxLeft + (InkBoxWidth - ink.width * squeeze) / 2;
    cairo_save(cr);
    cairo_translate(cr, left - ink.left * squeeze, 0);
    cairo_scale(cr, squeeze, 1.0);
    textPath(cr, 0, Baseline, text);
    cairo_restore(cr);  // the path stays; the outline is stroked unsqueezed
    cairo_set_line_width(cr, OutlineWidth);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColour(cr, 4, 10, 16, 0.9);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, InkTop, 0, Baseline);
    cairo_pattern_add_color_stop_rgb(fill, 0, 1.0, 1.0, 1.0);
    cairo_pattern_add_color_stop_rgb(fill, 1, 0.78, 0.92, 1.0);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
}

}  // namespace

PixelBlock makeBigFont(const FontLibrary& fonts, int scale) {
    return drawStrip(CellWidth, CellHeight, 11, 11, scale,
                     [&](cairo_t* cr, int index) { drawDigit(cr, fonts, index); });
}
