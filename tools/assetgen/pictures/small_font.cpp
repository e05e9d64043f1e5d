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
    // Keep the face's own left side bearing while a clear column still follows the ink,
    // so spacing looks natural.
    const int advance = SmallGlyphWidths[static_cast<size_t>(code - FirstSmallGlyph)] - 1;
    const double room = advance - 1 - ink.width * squeeze;
    const double bearing = std::clamp(std::round(ink.left * squeeze * 2) / 2, 0.0, std::max(0.0, room));
    cairo_translate(cr, bearing - ink.left * squeeze, 0);
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
