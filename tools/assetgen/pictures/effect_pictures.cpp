// Pictures of the additive effects: the sparkle sphere, the falling lights and the
// menu particles. Drawn additively, so their alpha is their brightness.

#include <cmath>

#include "artwork.h"
#include "common/picture_canvas.h"

namespace {

constexpr double Pi = 3.14159265358979;

// A radial glow: colour stops from the centre (0) to the rim (1), alpha falling to 0.
void softBlob(cairo_t* cr, double x, double y, double radius, double red, double green, double blue, double core) {
    cairo_pattern_t* blob = cairo_pattern_create_radial(x, y, 0, x, y, radius);
    cairo_pattern_add_color_stop_rgba(blob, 0, 1, 1, 1, core);
    cairo_pattern_add_color_stop_rgba(blob, 0.25, red, green, blue, core * 0.6);
    cairo_pattern_add_color_stop_rgba(blob, 0.6, red, green, blue, core * 0.2);
    cairo_pattern_add_color_stop_rgba(blob, 1, red, green, blue, 0);
    cairo_set_source(cr, blob);
    cairo_arc(cr, x, y, radius, 0, 2 * Pi);
    cairo_fill(cr);
    cairo_pattern_destroy(blob);
}

void drawLight(cairo_t* cr, int frame) {
    if (frame == 0) return softBlob(cr, 32, 32, 30, 0.35, 0.85, 1.0, 0.45);
    // A falling streak: a soft drop with a faint tail above it.
    cairo_save(cr);
    cairo_translate(cr, 32, 32);
    cairo_scale(cr, 0.45, 1.0);
    softBlob(cr, 0, 4, 28, 0.45, 1.0, 0.8, 0.55);
    cairo_restore(cr);
}

void drawParticle(cairo_t* cr, int frame) {
    if (frame == 0) return softBlob(cr, 32, 32, 26, 0.85, 0.85, 0.85, 0.9);
    softBlob(cr, 32, 32, 14, 0.8, 0.8, 0.8, 0.8);
    // A thin four-pointed glint through the dot.
    cairo_translate(cr, 32, 32);
    for (int arm = 0; arm < 2; ++arm) {
        cairo_pattern_t* ray = cairo_pattern_create_linear(-28, 0, 28, 0);
        cairo_pattern_add_color_stop_rgba(ray, 0, 1, 1, 1, 0);
        cairo_pattern_add_color_stop_rgba(ray, 0.5, 1, 1, 1, 0.8);
        cairo_pattern_add_color_stop_rgba(ray, 1, 1, 1, 1, 0);
        cairo_set_source(cr, ray);
        cairo_rectangle(cr, -28, -1, 56, 2);
        cairo_fill(cr);
        cairo_pattern_destroy(ray);
        cairo_rotate(cr, Pi / 2);
    }
}

}  // namespace

PixelBlock makeSphere(int scale) {
    constexpr double Size = 64.0;
    Canvas canvas(static_cast<int>(Size), static_cast<int>(Size), scale);
    cairo_t* cr = canvas.cr();
    // A wide ring of light around a faint middle. Sparkles of different ages have grown to
    // different sizes, so stacked ones lay their rings side by side rather than on one
    // spot that turns white, and the red of an infected screen under the middle still
    // reads.
    const double centre = Size / 2.0, radius = centre - 1.0;
    cairo_pattern_t* ring = cairo_pattern_create_radial(centre, centre, 0, centre, centre, radius);
    cairo_pattern_add_color_stop_rgba(ring, 0, 0.8, 1.0, 1.0, 0.01);
    cairo_pattern_add_color_stop_rgba(ring, 0.3, 0.6, 1.0, 1.0, 0.03);
    cairo_pattern_add_color_stop_rgba(ring, 0.72, 0.3, 0.95, 1.0, 0.18);
    cairo_pattern_add_color_stop_rgba(ring, 0.86, 0.3, 0.95, 1.0, 0.1);
    cairo_pattern_add_color_stop_rgba(ring, 1, 0.3, 0.95, 1.0, 0);
    cairo_set_source(cr, ring);
    cairo_arc(cr, centre, centre, radius, 0, 2 * Pi);
    cairo_fill(cr);
    cairo_pattern_destroy(ring);
    return canvas.pixels();
}

PixelBlock makeLights(int scale) { return drawStrip(64, 64, 2, 2, scale, drawLight); }

PixelBlock makeParticles(int scale) { return drawStrip(64, 64, 2, 2, scale, drawParticle); }
