// The two-cell Server cabinet and the FaxModem of the board tile sheet.

#include "common/picture_canvas.h"
#include "tile_parts.h"

namespace {

// The cabinet is drawn once over both cells (104 pixels tall: the bottom tile starts
// 48 pixels lower), and each half is that drawing seen through its own tile, so the
// overlapping strip is identical in both and the cabinet joins without a seam.
void drawCabinet(cairo_t* cr) {
    roundedRectangle(cr, 10, 9, 36, 86, 4);
    cairo_pattern_t* steel = cairo_pattern_create_linear(10, 0, 46, 0);
    cairo_pattern_add_color_stop_rgb(steel, 0, 0.30, 0.36, 0.44);
    cairo_pattern_add_color_stop_rgb(steel, 0.5, 0.20, 0.25, 0.32);
    cairo_pattern_add_color_stop_rgb(steel, 1, 0.12, 0.15, 0.20);
    cairo_set_source(cr, steel);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(steel);
    cairo_set_line_width(cr, 1.0);
    setColour(cr, 150, 200, 220);
    cairo_stroke(cr);
    // A glowing name strip at the top.
    roundedRectangle(cr, 14, 13, 28, 5, 1.5);
    setColour(cr, 60, 220, 240);
    cairo_fill(cr);
    // Rack units with drive slots and status lights.
    for (int unit = 0; unit < 8; ++unit) {
        const double y = 22 + unit * 8.5;
        roundedRectangle(cr, 14, y, 28, 6.5, 1);
        setColour(cr, 10, 14, 20);
        cairo_fill(cr);
        setColour(cr, 80, 100, 120);
        cairo_rectangle(cr, 16, y + 2.5, 15, 1.5);
        cairo_fill(cr);
        cairo_arc(cr, 36, y + 3.25, 1.2, 0, 6.2832);
        if (unit % 3 == 1) setColour(cr, 255, 190, 60);
        else setColour(cr, 80, 255, 120);
        cairo_fill(cr);
    }
}

void drawLight(cairo_t* cr, double x, double y, int red, int green, int blue, bool lit) {
    if (lit) {
        cairo_pattern_t* halo = cairo_pattern_create_radial(x, y, 0, x, y, 4.5);
        cairo_pattern_add_color_stop_rgba(halo, 0, red / 255.0, green / 255.0, blue / 255.0, 0.8);
        cairo_pattern_add_color_stop_rgba(halo, 1, red / 255.0, green / 255.0, blue / 255.0, 0.0);
        cairo_set_source(cr, halo);
        cairo_arc(cr, x, y, 4.5, 0, 6.2832);
        cairo_fill(cr);
        cairo_pattern_destroy(halo);
    }
    cairo_arc(cr, x, y, 1.5, 0, 6.2832);
    if (lit) setColour(cr, 255, 255, 230);
    else setColour(cr, red / 4, green / 4, blue / 4);
    cairo_fill(cr);
}

}  // namespace

void drawServerHalf(cairo_t* cr, int half) {
    cairo_save(cr);
    cairo_translate(cr, 0, -48.0 * half);
    drawCabinet(cr);
    cairo_restore(cr);
}

void drawFaxModem(cairo_t* cr, bool lit) {
    // Handset resting on top.
    roundedRectangle(cr, 13, 13, 30, 7, 3.5);
    setColour(cr, 40, 46, 56);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.0);
    setColour(cr, 150, 170, 190);
    cairo_stroke(cr);
    // Body.
    roundedRectangle(cr, 9, 19, 38, 23, 4);
    cairo_pattern_t* shell = cairo_pattern_create_linear(0, 19, 0, 42);
    cairo_pattern_add_color_stop_rgb(shell, 0, 0.78, 0.80, 0.84);
    cairo_pattern_add_color_stop_rgb(shell, 1, 0.46, 0.50, 0.56);
    cairo_set_source(cr, shell);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shell);
    setColour(cr, 18, 26, 36);
    cairo_stroke(cr);
    // Keypad.
    setColour(cr, 50, 60, 74);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) cairo_rectangle(cr, 30 + column * 4, 23 + row * 4, 2.5, 2.5);
    cairo_fill(cr);
    // Paper slot and the four status lights.
    cairo_rectangle(cr, 13, 24, 13, 2);
    cairo_fill(cr);
    drawLight(cr, 15, 36, 80, 255, 120, lit);
    drawLight(cr, 20, 36, 80, 255, 120, lit);
    drawLight(cr, 25, 36, 255, 190, 60, lit);
    drawLight(cr, 30, 36, 60, 220, 255, lit);
}
