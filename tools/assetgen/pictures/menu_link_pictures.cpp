// "gfx/linkglow.spr": the glows of the two text links in the menu's bottom band, "Records"
// and "Options", made like the buttons' glows: the label's shape, blurred, in the same cyan.

#include <array>

#include "artwork.h"
#include "common/picture_canvas.h"

namespace {

constexpr std::array<const char*, MenuLinkCount> LinkLabels = {"Records", "Options"};

void drawLinkGlow(cairo_t* cr, const FontLibrary& fonts, int index) {
    Canvas glow(MenuLinkWidth, MenuLinkHeight, scaleOf(cr));
    // A faint bar under the whole label, so the glow reads as a lit plate, not only letters.
    roundedRectangle(glow.cr(), 8, 9, MenuLinkWidth - 16, MenuLinkHeight - 18, 6);
    setColour(glow.cr(), 40, 160, 200, 0.35);
    cairo_fill(glow.cr());
    fonts.use(glow.cr(), FontStyle::SansBold, 12);
    centredTextPath(glow.cr(), MenuLinkWidth / 2.0, MenuLinkHeight / 2.0, LinkLabels[static_cast<size_t>(index)]);
    setColour(glow.cr(), 90, 230, 255, 0.9);
    cairo_fill(glow.cr());
    blurCanvas(glow, 3);
    cairo_set_source_surface(cr, glow.surface(), 0, 0);
    cairo_paint(cr);
}

}  // namespace

PixelBlock makeMenuLinkGlows(const FontLibrary& fonts, int scale) {
    return drawStrip(MenuLinkWidth, MenuLinkHeight, MenuLinkCount, MenuLinkCount, scale,
                     [&](cairo_t* cr, int index) { drawLinkGlow(cr, fonts, index); });
}
