// The two-cell Server cabinet and the FaxModem of the board tile sheet.

#include "common/picture_canvas.h"
#include "tile_parts.h"

namespace {

// The cabinet is drawn once over both cells (104 pixels tall: the bottom tile starts
// 48 pixels lower), and each half is that drawing seen through its own tile, so the
// overlapping strip is identical in both and the cabinet joins without a seam.
// Both halves keep inside the device body square of their own cell, so every output
// shows its plug and cable beside the cabinet.
constexpr double BodyLeft = TileCentre - DeviceBodyHalf, BodyWidth = 2 * DeviceBodyHalf;
constexpr double CabinetTop = TileCentre - DeviceBodyHalf, CabinetHeight = 48 + 2 * DeviceBodyHalf;

void drawCabinet(cairo_t* cr) {
    roundedRectangle(cr, BodyLeft + 0.5, CabinetTop + 0.5, BodyWidth - 1, CabinetHeight - 1, 3);
    cairo_pattern_t* steel = cairo_pattern_create_linear(BodyLeft, 0, BodyLeft + BodyWidth, 0);
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
    roundedRectangle(cr, BodyLeft + 3, CabinetTop + 3, BodyWidth - 6, 4, 1.2);
    setColour(cr, 60, 220, 240);
    cairo_fill(cr);
    // Rack units with drive slots and status lights.
    for (int unit = 0; unit < 8; ++unit) {
        const double y = CabinetTop + 10 + unit * 8;
        roundedRectangle(cr, BodyLeft + 3, y, BodyWidth - 6, 6, 1);
        setColour(cr, 10, 14, 20);
        cairo_fill(cr);
        setColour(cr, 80, 100, 120);
        cairo_rectangle(cr, BodyLeft + 5, y + 2.5, 11, 1.2);
        cairo_fill(cr);
        cairo_arc(cr, BodyLeft + BodyWidth - 6, y + 3, 1.1, 0, 6.2832);
        if (unit % 3 == 1)
            setColour(cr, 255, 190, 60);
        else
            setColour(cr, 80, 255, 120);
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
    if (lit)
        setColour(cr, 255, 255, 230);
    else
        setColour(cr, 20 + red / 10, 20 + green / 10, 20 + blue / 10);
    cairo_fill(cr);
}

// The glow of a live link: the body's rim lit green, fading inward. Like every device it
// stays inside its body square, so the outputs beside it show whole; the light beyond
// the body is the pulse the FaxModem sends while it relays.
void drawLinkGlow(cairo_t* cr, double left, double top, double width, double height) {
    cairo_pattern_t* rim =
        cairo_pattern_create_radial(TileCentre, TileCentre + 3, 4, TileCentre, TileCentre + 3, DeviceBodyHalf + 2);
    cairo_pattern_add_color_stop_rgba(rim, 0, 0.3, 1.0, 0.5, 0.0);
    cairo_pattern_add_color_stop_rgba(rim, 1, 0.3, 1.0, 0.5, 0.55);
    // Inset by half the rim's width, so the lit line stays on the body.
    roundedRectangle(cr, left + 1.3, top + 6.3, width - 2.6, height - 7.6, 2.5);
    cairo_set_source(cr, rim);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(rim);
    cairo_set_line_width(cr, 1.6);
    setColour(cr, 120, 255, 150);
    cairo_stroke(cr);
}

}  // namespace

void drawServerHalf(cairo_t* cr, int half) {
    cairo_save(cr);
    cairo_translate(cr, 0, -48.0 * half);
    drawCabinet(cr);
    cairo_restore(cr);
}

void drawFaxModem(cairo_t* cr, bool lit) {
    const double left = TileCentre - DeviceBodyHalf, right = TileCentre + DeviceBodyHalf;
    const double top = TileCentre - DeviceBodyHalf, bottom = TileCentre + DeviceBodyHalf;
    // Handset resting on top.
    roundedRectangle(cr, left + 2.5, top + 0.5, right - left - 5, 6, 3);
    setColour(cr, 40, 46, 56);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.0);
    setColour(cr, 150, 170, 190);
    cairo_stroke(cr);
    // Body: a shade darker while idle.
    roundedRectangle(cr, left + 0.5, top + 5.5, right - left - 1, bottom - top - 6, 3);
    cairo_pattern_t* shell = cairo_pattern_create_linear(0, top + 5, 0, bottom);
    const double shade = lit ? 1.0 : 0.82;
    cairo_pattern_add_color_stop_rgb(shell, 0, 0.78 * shade, 0.80 * shade, 0.84 * shade);
    cairo_pattern_add_color_stop_rgb(shell, 1, 0.46 * shade, 0.50 * shade, 0.56 * shade);
    cairo_set_source(cr, shell);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shell);
    setColour(cr, 18, 26, 36);
    cairo_stroke(cr);
    if (lit) drawLinkGlow(cr, left, top, right - left, bottom - top);
    // Keypad.
    setColour(cr, 50, 60, 74);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            cairo_rectangle(cr, left + 15 + column * 3.5, top + 9 + row * 3.5, 2, 2);
    cairo_fill(cr);
    // The link window: dark glass while idle, lit green with a line of text while linked.
    roundedRectangle(cr, left + 2.5, top + 8.5, 10, 7, 1);
    setColour(cr, lit ? 60 : 22, lit ? 230 : 30, lit ? 110 : 36);
    cairo_fill(cr);
    if (lit) {
        setColour(cr, 220, 255, 225);
        cairo_rectangle(cr, left + 4, top + 10.5, 7, 1.2);
        cairo_rectangle(cr, left + 4, top + 13, 4.5, 1.2);
        cairo_fill(cr);
    }
    // The four status lights: all off while idle.
    for (int light = 0; light < 4; ++light) {
        static constexpr int Colours[4][3] = {{80, 255, 120}, {80, 255, 120}, {255, 190, 60}, {60, 220, 255}};
        drawLight(cr, left + 5 + light * 5, bottom - 4.5, Colours[light][0], Colours[light][1], Colours[light][2], lit);
    }
}
