// The mouse pointer ("gfx/pointer.spr") and the cleaning cursor ("gfx/crest.spr").

#include <cmath>

#include "artwork.h"
#include "common/picture_canvas.h"

namespace {

constexpr double Pi = 3.14159265358979;

// Arrow outline with its tip on the top-left pixel, the pointer's hot spot.
void arrowPath(cairo_t* cr) {
    cairo_move_to(cr, 1, 1);
    cairo_line_to(cr, 1, 23);
    cairo_line_to(cr, 6.5, 18);
    cairo_line_to(cr, 10.5, 27);
    cairo_line_to(cr, 14, 25.5);
    cairo_line_to(cr, 10, 16.5);
    cairo_line_to(cr, 17, 16.5);
    cairo_close_path(cr);
}

void drawArrow(cairo_t* cr, bool glowing) {
    if (glowing) {
        Canvas halo(23, 32, scaleOf(cr));
        arrowPath(halo.cr());
        cairo_set_line_width(halo.cr(), 3.0);
        setColour(halo.cr(), 80, 230, 255, 0.9);
        cairo_stroke(halo.cr());
        blurCanvas(halo, 1);
        cairo_set_source_surface(cr, halo.surface(), 0, 0);
        cairo_paint(cr);
    }
    arrowPath(cr);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 12, 26);
    cairo_pattern_add_color_stop_rgb(fill, 0, 1, 1, 1);
    if (glowing)
        cairo_pattern_add_color_stop_rgb(fill, 1, 0.70, 0.97, 1.0);
    else
        cairo_pattern_add_color_stop_rgb(fill, 1, 0.80, 0.86, 0.92);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    cairo_set_line_width(cr, 1.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColour(cr, 8, 24, 36);
    cairo_stroke(cr);
}

// A four-pointed star of the given arm length and waist.
void starPath(cairo_t* cr, double arm, double waist) {
    for (int point = 0; point < 4; ++point) {
        const double angle = point * Pi / 2;
        const double side = angle + Pi / 4;
        if (point == 0)
            cairo_move_to(cr, arm * std::cos(angle), arm * std::sin(angle));
        else
            cairo_line_to(cr, arm * std::cos(angle), arm * std::sin(angle));
        cairo_line_to(cr, waist * std::cos(side), waist * std::sin(side));
    }
    cairo_close_path(cr);
}

// One turn of a quarter circle over the 34 frames, so the loop is seamless; it pulses twice.
void drawCrestFrame(cairo_t* cr, int frame) {
    const double phase = frame / 34.0;
    const double pulse = 0.85 + 0.15 * std::sin(phase * 4 * Pi);
    cairo_translate(cr, 16, 16);
    cairo_pattern_t* halo = cairo_pattern_create_radial(0, 0, 0, 0, 0, 15);
    cairo_pattern_add_color_stop_rgba(halo, 0, 0.5, 1.0, 0.5, 0.55 * pulse);
    cairo_pattern_add_color_stop_rgba(halo, 1, 0.2, 1.0, 0.3, 0.0);
    cairo_set_source(cr, halo);
    cairo_paint(cr);
    cairo_pattern_destroy(halo);
    cairo_rotate(cr, phase * Pi / 2);
    starPath(cr, 14 * pulse, 3.2);
    setColour(cr, 60, 230, 90, 0.95);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.0);
    setColour(cr, 10, 70, 30, 0.9);
    cairo_stroke(cr);
    cairo_rotate(cr, Pi / 4);
    starPath(cr, 7 * pulse, 2.0);
    setColour(cr, 220, 255, 220);
    cairo_fill(cr);
}

}  // namespace

PixelBlock makePointer(int scale) {
    return drawStrip(23, 32, 2, 2, scale, [](cairo_t* cr, int frame) { drawArrow(cr, frame == 1); });
}

PixelBlock makeCrest(int scale) { return drawStrip(32, 32, 34, 17, scale, drawCrestFrame); }
