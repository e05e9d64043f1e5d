// "gfx/menubuttons.spr" with the labels drawn in, and "gfx/menubuttonsglow.spr",
// the matching overlays that the menu adds on top of a hovered button.

#include <array>

#include "artwork.h"
#include "common/picture_canvas.h"

namespace {

constexpr int ButtonWidth = 281, ButtonHeight = 57;
constexpr std::array<const char*, 7> Labels = {"New Game", "Continue", "Help", "Credits", "Exit", "Next Page", "Back"};

// The face spans the hover area (x 531..769 around the centre 650), with room for the glow around it.
constexpr double FaceX = 22, FaceY = 8, FaceW = 237, FaceH = 41, FaceRadius = 12;

void facePath(cairo_t* cr) { roundedRectangle(cr, FaceX, FaceY, FaceW, FaceH, FaceRadius); }

void labelPath(cairo_t* cr, const FontLibrary& fonts, int index) {
    fonts.use(cr, FontStyle::SansBold, 21);
    centredTextPath(cr, ButtonWidth / 2.0, ButtonHeight / 2.0, Labels[static_cast<size_t>(index)]);
}

void drawButton(cairo_t* cr, const FontLibrary& fonts, int index) {
    facePath(cr);
    cairo_pattern_t* face = cairo_pattern_create_linear(0, FaceY, 0, FaceY + FaceH);
    cairo_pattern_add_color_stop_rgba(face, 0, 0.14, 0.34, 0.44, 0.92);
    cairo_pattern_add_color_stop_rgba(face, 0.5, 0.05, 0.16, 0.23, 0.92);
    cairo_pattern_add_color_stop_rgba(face, 1, 0.03, 0.10, 0.15, 0.92);
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    cairo_set_line_width(cr, 1.5);
    setColour(cr, 100, 200, 225);
    cairo_stroke(cr);
    // Connector studs at both ends, like a patch panel.
    for (const double x : {FaceX + 14.0, FaceX + FaceW - 14.0}) {
        cairo_arc(cr, x, FaceY + FaceH / 2, 4, 0, 6.2832);
        setColour(cr, 40, 180, 205);
        cairo_fill(cr);
    }
    labelPath(cr, fonts, index);
    setColour(cr, 236, 250, 255);
    cairo_fill(cr);
}

void drawGlow(cairo_t* cr, const FontLibrary& fonts, int index) {
    Canvas glow(ButtonWidth, ButtonHeight, scaleOf(cr));
    facePath(glow.cr());
    cairo_set_line_width(glow.cr(), 5);
    setColour(glow.cr(), 50, 200, 255, 0.8);
    cairo_stroke(glow.cr());
    labelPath(glow.cr(), fonts, index);
    setColour(glow.cr(), 90, 230, 255, 0.8);
    cairo_fill(glow.cr());
    blurCanvas(glow, 3);
    cairo_set_source_surface(cr, glow.surface(), 0, 0);
    cairo_paint(cr);
    // A faint wash over the face, so the whole button brightens.
    facePath(cr);
    setColour(cr, 40, 160, 200, 0.25);
    cairo_fill(cr);
}

}  // namespace

PixelBlock makeMenuButtons(const FontLibrary& fonts, int scale) {
    return drawStrip(ButtonWidth, ButtonHeight, 7, 1, scale,
                     [&](cairo_t* cr, int index) { drawButton(cr, fonts, index); });
}

PixelBlock makeMenuButtonGlows(const FontLibrary& fonts, int scale) {
    return drawStrip(ButtonWidth, ButtonHeight, 7, 1, scale,
                     [&](cairo_t* cr, int index) { drawGlow(cr, fonts, index); });
}
