// Play-screen furniture: the music buttons, the undo and restart buttons in their look, the
// padlock of a locked piece, the panel icon, the tip bubble and the panel strip.

#include <cmath>

#include "artwork.h"
#include "common/picture_canvas.h"
#include "pattern_random.h"

namespace {

constexpr double Pi = 3.14159265358979;

void triangle(cairo_t* cr, double tipX, double y, double width, bool pointsRight) {
    const double back = pointsRight ? tipX - width : tipX + width;
    cairo_move_to(cr, tipX, y);
    cairo_line_to(cr, back, y - width * 0.9);
    cairo_line_to(cr, back, y + width * 0.9);
    cairo_close_path(cr);
}

// Symbols centred on (16, 16): previous, play, next, stop.
void musicSymbol(cairo_t* cr, int button) {
    switch (button) {
        case 0:
            cairo_rectangle(cr, 9, 11, 2, 10);
            triangle(cr, 11, 16, 5.5, false);
            triangle(cr, 16.5, 16, 5.5, false);
            break;
        case 1: triangle(cr, 22, 16, 8, true); break;
        case 2:
            triangle(cr, 21, 16, 5.5, true);
            triangle(cr, 15.5, 16, 5.5, true);
            cairo_rectangle(cr, 21, 11, 2, 10);
            break;
        default: cairo_rectangle(cr, 11, 11, 10, 10); break;
    }
    cairo_fill(cr);
}

// The round face every button of the panel shares, and the colour its symbol is drawn in.
void drawButtonFace(cairo_t* cr, bool lit) {
    if (lit) {
        cairo_pattern_t* halo = cairo_pattern_create_radial(16, 16, 8, 16, 16, 16);
        cairo_pattern_add_color_stop_rgba(halo, 0, 0.3, 0.9, 1.0, 0.6);
        cairo_pattern_add_color_stop_rgba(halo, 1, 0.3, 0.9, 1.0, 0.0);
        cairo_set_source(cr, halo);
        cairo_paint(cr);
        cairo_pattern_destroy(halo);
    }
    cairo_arc(cr, 16, 16, 12.5, 0, 2 * Pi);
    cairo_pattern_t* face = cairo_pattern_create_linear(0, 3, 0, 29);
    cairo_pattern_add_color_stop_rgb(face, 0, lit ? 0.16 : 0.12, lit ? 0.42 : 0.26, lit ? 0.52 : 0.34);
    cairo_pattern_add_color_stop_rgb(face, 1, 0.03, 0.08, 0.12);
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    cairo_set_line_width(cr, 1.2);
    if (lit)
        setColour(cr, 170, 250, 255);
    else
        setColour(cr, 90, 160, 180);
    cairo_stroke(cr);
    if (lit)
        setColour(cr, 230, 255, 255);
    else
        setColour(cr, 160, 210, 225);
}

void drawMusicButton(cairo_t* cr, int frame) {
    drawButtonFace(cr, frame >= 4);
    musicSymbol(cr, frame % 4);
}

// An arc of the circle of radius 6.5 about the middle, from one angle to the other, with
// an arrowhead at its end pointing along it.
void arcArrow(cairo_t* cr, double from, double to, bool counterClockwise) {
    constexpr double Radius = 6.5;
    cairo_set_line_width(cr, 2.2);
    cairo_new_path(cr);
    if (counterClockwise)
        cairo_arc_negative(cr, 16, 16, Radius, from, to);
    else
        cairo_arc(cr, 16, 16, Radius, from, to);
    cairo_stroke(cr);
    const double tipX = 16 + Radius * std::cos(to), tipY = 16 + Radius * std::sin(to);
    // Along the circle at the end: the tangent, turned the way the arc runs.
    const double along = to + (counterClockwise ? -Pi / 2 : Pi / 2);
    const double ax = std::cos(along), ay = std::sin(along);
    cairo_move_to(cr, tipX + 3.5 * ax, tipY + 3.5 * ay);
    cairo_line_to(cr, tipX - 2.5 * ax - 3.5 * ay, tipY - 2.5 * ay + 3.5 * ax);
    cairo_line_to(cr, tipX - 2.5 * ax + 3.5 * ay, tipY - 2.5 * ay - 3.5 * ax);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// Undo: a hooked arrow turning back; restart: an arrow all the way round.
void drawToolButton(cairo_t* cr, int frame) {
    drawButtonFace(cr, frame >= 2);
    if (frame % 2 == 0)
        arcArrow(cr, 0.15 * Pi, -0.95 * Pi, true);
    else
        arcArrow(cr, -0.4 * Pi, 1.25 * Pi, false);
}

// A padlock: a round shackle over a solid body with a keyhole, gold on a dark outline.
void drawPadlock(cairo_t* cr) {
    cairo_set_line_width(cr, 2.0);
    cairo_arc(cr, 8, 7, 3.5, Pi, 2 * Pi);
    cairo_line_to(cr, 11.5, 8.5);
    cairo_move_to(cr, 4.5, 8.5);
    cairo_line_to(cr, 4.5, 7);
    setColour(cr, 20, 20, 24);
    cairo_set_line_width(cr, 3.6);
    cairo_stroke_preserve(cr);
    setColour(cr, 200, 205, 215);
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    roundedRectangle(cr, 2.5, 7.5, 11, 7.5, 1.5);
    setColour(cr, 20, 20, 24);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* body = cairo_pattern_create_linear(0, 7.5, 0, 15);
    cairo_pattern_add_color_stop_rgb(body, 0, 1.0, 0.85, 0.35);
    cairo_pattern_add_color_stop_rgb(body, 1, 0.75, 0.52, 0.12);
    cairo_set_source(cr, body);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    cairo_arc(cr, 8, 10.5, 1.2, 0, 2 * Pi);
    cairo_rectangle(cr, 7.5, 10.5, 1, 2.5);
    setColour(cr, 40, 30, 10);
    cairo_fill(cr);
}

// The bubble: a dark translucent pill with a light border, cut into left end,
// repeatable middle and right end.
void drawBubblePart(cairo_t* cr, int part) {
    constexpr double Height = 15, Radius = 6.5;
    const double left = part == 0 ? 0.5 : -20.0;
    const double right = part == 2 ? 12.5 : 33.0;
    roundedRectangle(cr, left, 0.5, right - left, Height, Radius);
    setColour(cr, 10, 24, 36, 0.85);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.0);
    setColour(cr, 170, 230, 245, 0.95);
    cairo_stroke(cr);
}

}  // namespace

PixelBlock makeMusicButtons(int scale) { return drawStrip(32, 32, 8, 8, scale, drawMusicButton); }

PixelBlock makeBoardToolButtons(int scale) { return drawStrip(32, 32, 4, 4, scale, drawToolButton); }

PixelBlock makePadlock(int scale) {
    return drawStrip(16, 16, 1, 1, scale, [](cairo_t* cr, int) { drawPadlock(cr); });
}

PixelBlock makeHintBubble(int scale) { return drawStrip(13, 16, 3, 3, scale, drawBubblePart); }

PixelBlock makeIcon(int scale) {
    Canvas canvas(48, 48, scale);
    cairo_t* cr = canvas.cr();
    roundedRectangle(cr, 4.5, 4.5, 39, 39, 8);
    setColour(cr, 8, 30, 44, 0.9);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.5);
    setColour(cr, 90, 210, 230);
    cairo_stroke(cr);
    // Three linked nodes: the network the player wires up.
    const double nodes[3][2] = {{15, 32}, {33, 32}, {24, 15}};
    cairo_set_line_width(cr, 3.0);
    setColour(cr, 40, 180, 205);
    for (int a = 0; a < 3; ++a) {
        cairo_move_to(cr, nodes[a][0], nodes[a][1]);
        cairo_line_to(cr, nodes[(a + 1) % 3][0], nodes[(a + 1) % 3][1]);
    }
    cairo_stroke(cr);
    for (const auto& node : nodes) {
        cairo_arc(cr, node[0], node[1], 4.5, 0, 2 * Pi);
        setColour(cr, 200, 255, 240);
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1.0);
        setColour(cr, 20, 90, 110);
        cairo_stroke(cr);
    }
    return canvas.pixels();
}

PixelBlock makePanel(int scale) {
    Canvas canvas(800, 16, scale);
    cairo_t* cr = canvas.cr();
    cairo_pattern_t* body = cairo_pattern_create_linear(0, 0, 0, 16);
    cairo_pattern_add_color_stop_rgba(body, 0, 0.10, 0.22, 0.30, 0.92);
    cairo_pattern_add_color_stop_rgba(body, 1, 0.02, 0.06, 0.10, 0.95);
    cairo_set_source(cr, body);
    cairo_paint(cr);
    cairo_pattern_destroy(body);
    setColour(cr, 110, 220, 240, 0.9);
    cairo_rectangle(cr, 0, 0, 800, 1);
    cairo_fill(cr);
    // Faint circuit marks along the strip, away from the music buttons on the left.
    PatternRandom random(31);
    setColour(cr, 90, 170, 190, 0.25);
    for (int mark = 0; mark < 24; ++mark) {
        const double x = 200 + mark * 25 + random.between(0, 10);
        cairo_rectangle(cr, x, 7, random.between(6, 14), 1);
        cairo_arc(cr, x, 7.5, 1.3, 0, 2 * Pi);
        cairo_fill(cr);
    }
    return canvas.pixels();
}
