// "gfx/tahomafont.spr": the small proportional font, one 13 x 13 cell per character
// code 33..122, white glyphs placed from the left edge of the cell within their advance.

#include <algorithm>
#include <cmath>
#include <string>

#include "artwork.h"
#include "common/picture_canvas.h"

namespace {

constexpr double FontSize = 11.0;
constexpr double Baseline = 10.0;

// Wide glyphs keep one clear column before the next character; narrow ones use their
// whole advance, as their own side bearings are thinner than a pixel anyway.
double inkLimit(int code) {
    const int advance = SmallGlyphWidths[static_cast<size_t>(code - FirstSmallGlyph)] - 1;
    return advance >= 5 ? advance - 1.0 : advance;
}

void drawGlyph(cairo_t* cr, const FontLibrary& fonts, int code) {
    const std::string text(1, static_cast<char>(code));
    fonts.use(cr, FontStyle::Sans, FontSize);
    const InkBox ink = measureText(cr, text);
    if (ink.width <= 0) return;
    // Squeeze horizontally until the ink fits; never stretch.
    const double squeeze = std::min(1.0, (inkLimit(code) - 0.02) / ink.width);
    // Narrow glyphs sit in the middle of their space, on whole pixels so they stay crisp.
    const double spare = std::floor((inkLimit(code) - ink.width * squeeze) / 2 + 0.5);
    cairo_translate(cr, spare - ink.left * squeeze, 0);
    cairo_scale(cr, squeeze, 1.0);
    textPath(cr, 0, Baseline, text);
    setColour(cr, 255, 255, 255);
    cairo_fill(cr);
}

}  // namespace

PixelBlock makeSmallFont(const FontLibrary& fonts) {
    return drawStrip(SmallGlyphSize, SmallGlyphSize, static_cast<int>(SmallGlyphWidths.size()), 10,
                     [&](cairo_t* cr, int index) { drawGlyph(cr, fonts, FirstSmallGlyph + index); });
}
