// The product logo "Cablewright" and the publisher's studio mark "Pelmar".

#include <cmath>

#include "artwork.h"
#include "common/picture_canvas.h"

namespace {

constexpr double Pi = 3.14159265358979;

// The title's letters as a path, centred in the logo above its cable.
void titlePath(cairo_t* cr, const FontLibrary& fonts) {
    constexpr double WidestTitle = 360;  // leaves room for the outline and glow inside 400
    fonts.use(cr, FontStyle::SansBold, 60);
    const double width = measureText(cr, "Cablewright").width;
    if (width > WidestTitle) fonts.use(cr, FontStyle::SansBold, 60 * WidestTitle / width);
    centredTextPath(cr, 200, 52, "Cablewright");
}

// A cable swinging under the title from a plug on the left; on the right it rises and
// runs in behind the last letters. The menu's button panel (MenuButtonPanel) starts under
// the right part of the logo, below y 94 and right of x 280 here, so the cable, its glow
// and above all its plug keep to the left and above it.
void cablePath(cairo_t* cr) {
    cairo_move_to(cr, 40, 96);
    cairo_curve_to(cr, 120, 110, 200, 76, 262, 82);
    cairo_curve_to(cr, 300, 86, 340, 84, 364, 64);
}

void drawPlug(cairo_t* cr) {
    roundedRectangle(cr, 18, 88, 22, 16, 3);
    setColour(cr, 10, 26, 36);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.2);
    setColour(cr, 140, 225, 240);
    cairo_stroke(cr);
    cairo_rectangle(cr, 12, 91, 6, 10);
    setColour(cr, 200, 180, 90);
    cairo_fill(cr);
}

void drawCable(cairo_t* cr) {
    cablePath(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 8);
    setColour(cr, 6, 28, 40);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 5);
    setColour(cr, 34, 168, 196);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 1.6);
    setColour(cr, 190, 250, 255);
    cairo_stroke(cr);
    drawPlug(cr);
}

}  // namespace

PixelBlock makeProductLogo(const FontLibrary& fonts, int scale) {
    Canvas logo(400, 120, scale);
    {
        Canvas glow(400, 120, scale);
        titlePath(glow.cr(), fonts);
        cablePath(glow.cr());
        cairo_set_line_width(glow.cr(), 6);
        setColour(glow.cr(), 40, 200, 255, 0.9);
        cairo_stroke_preserve(glow.cr());
        cairo_fill(glow.cr());
        blurCanvas(glow, 5);
        cairo_set_source_surface(logo.cr(), glow.surface(), 0, 0);
        cairo_paint(logo.cr());
    }
    cairo_t* cr = logo.cr();
    drawCable(cr);
    titlePath(cr, fonts);
    cairo_set_line_width(cr, 3);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColour(cr, 4, 20, 32);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 22, 0, 76);
    cairo_pattern_add_color_stop_rgb(fill, 0, 1.0, 1.0, 1.0);
    cairo_pattern_add_color_stop_rgb(fill, 0.55, 0.62, 0.94, 1.0);
    cairo_pattern_add_color_stop_rgb(fill, 1, 0.20, 0.72, 0.86);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    return logo.pixels();
}

PixelBlock makePublisherLogo(const FontLibrary& fonts, int scale) {
    Canvas logo(150, 60, scale);
    cairo_t* cr = logo.cr();
    // The mark: a hexagon holding a stylised P made of a node and a trace.
    cairo_translate(cr, 28, 30);
    for (int corner = 0; corner < 6; ++corner) {
        const double angle = corner * Pi / 3 + Pi / 6;
        if (corner == 0)
            cairo_move_to(cr, 23 * std::cos(angle), 23 * std::sin(angle));
        else
            cairo_line_to(cr, 23 * std::cos(angle), 23 * std::sin(angle));
    }
    cairo_close_path(cr);
    cairo_pattern_t* plate = cairo_pattern_create_linear(0, -23, 0, 23);
    cairo_pattern_add_color_stop_rgb(plate, 0, 0.95, 0.62, 0.20);
    cairo_pattern_add_color_stop_rgb(plate, 1, 0.70, 0.25, 0.10);
    cairo_set_source(cr, plate);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(plate);
    cairo_set_line_width(cr, 1.5);
    setColour(cr, 255, 230, 190);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColour(cr, 255, 250, 240);
    cairo_move_to(cr, -6, 13);
    cairo_line_to(cr, -6, -12);
    cairo_arc(cr, 0, -5, 7, -Pi / 2, Pi / 2);
    cairo_line_to(cr, -6, 2);
    cairo_stroke(cr);
    cairo_identity_matrix(cr);
    fonts.use(cr, FontStyle::SerifBold, 21);
    textPath(cr, 57, 33, "Pelmar");
    setColour(cr, 255, 240, 220);
    cairo_fill(cr);
    fonts.use(cr, FontStyle::Sans, 9);
    textPath(cr, 59, 46, "g a m e   s t u d i o");
    setColour(cr, 240, 170, 90);
    cairo_fill(cr);
    return logo.pixels();
}
