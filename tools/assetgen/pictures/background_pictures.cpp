// Full-screen backgrounds: the menu's and the six in-game moods. They are opaque,
// calm in the middle where the board sits, with circuit traces toward the edges.

#include <array>
#include <cmath>

#include "artwork.h"
#include "common/picture_canvas.h"
#include "pattern_random.h"

namespace {

constexpr int ScreenWidth = 800, ScreenHeight = 600;
constexpr double Pi = 3.14159265358979;

struct Mood {
    std::array<double, 3> centre, edge, trace;
    uint32_t seed;
};

// Darkest colours stay well above black: pure black would turn transparent in the game.
constexpr std::array<Mood, 7> Moods = {{
    {{0.10, 0.30, 0.38}, {0.03, 0.08, 0.12}, {0.35, 0.85, 0.95}, 11},  // menu: deep teal
    {{0.08, 0.26, 0.36}, {0.03, 0.08, 0.13}, {0.30, 0.80, 0.95}, 21},  // teal night
    {{0.14, 0.16, 0.40}, {0.05, 0.05, 0.15}, {0.55, 0.60, 1.00}, 22},  // indigo
    {{0.30, 0.14, 0.34}, {0.10, 0.04, 0.12}, {0.95, 0.55, 0.90}, 23},  // dusk violet
    {{0.08, 0.28, 0.16}, {0.03, 0.09, 0.06}, {0.45, 0.95, 0.55}, 24},  // circuit green
    {{0.06, 0.20, 0.40}, {0.03, 0.06, 0.15}, {0.35, 0.70, 1.00}, 25},  // ocean
    {{0.34, 0.20, 0.08}, {0.11, 0.06, 0.03}, {1.00, 0.75, 0.35}, 26},  // amber
}};

void paintGradient(cairo_t* cr, const Mood& mood, double centreX, double centreY) {
    cairo_pattern_t* light = cairo_pattern_create_radial(centreX, centreY, 20, centreX, centreY, 560);
    cairo_pattern_add_color_stop_rgb(light, 0, mood.centre[0], mood.centre[1], mood.centre[2]);
    cairo_pattern_add_color_stop_rgb(light, 1, mood.edge[0], mood.edge[1], mood.edge[2]);
    cairo_set_source(cr, light);
    cairo_paint(cr);
    cairo_pattern_destroy(light);
}

void paintGrid(cairo_t* cr, const Mood& mood) {
    cairo_set_source_rgba(cr, mood.trace[0], mood.trace[1], mood.trace[2], 0.035);
    cairo_set_line_width(cr, 1.0);
    for (int x = 0; x <= ScreenWidth; x += 40) cairo_move_to(cr, x + 0.5, 0), cairo_line_to(cr, x + 0.5, ScreenHeight);
    for (int y = 0; y <= ScreenHeight; y += 40) cairo_move_to(cr, 0, y + 0.5), cairo_line_to(cr, ScreenWidth, y + 0.5);
    cairo_stroke(cr);
}

// A trace of a few straight runs turning by 45 degrees, with a pad at each end.
void paintTrace(cairo_t* cr, const Mood& mood, PatternRandom& random, double x, double y) {
    int direction = random.below(8);
    cairo_move_to(cr, x, y);
    cairo_arc(cr, x, y, 2.5, 0, 2 * Pi);
    cairo_move_to(cr, x, y);
    const int runs = 2 + random.below(3);
    for (int run = 0; run < runs; ++run) {
        const double length = random.between(30, 110);
        x += length * std::cos(direction * Pi / 4);
        y += length * std::sin(direction * Pi / 4);
        cairo_line_to(cr, x, y);
        direction = (direction + (random.unit() < 0.5 ? 1 : 7)) % 8;
    }
    cairo_set_source_rgba(cr, mood.trace[0], mood.trace[1], mood.trace[2], random.between(0.10, 0.22));
    cairo_set_line_width(cr, random.unit() < 0.3 ? 2.0 : 1.2);
    cairo_stroke(cr);
    cairo_arc(cr, x, y, 3.0, 0, 2 * Pi);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

// Traces start near the edges, so the middle of the screen stays quiet.
void paintTraces(cairo_t* cr, const Mood& mood, PatternRandom& random, int count) {
    for (int i = 0; i < count; ++i) {
        double x = random.between(0, ScreenWidth), y = random.between(0, ScreenHeight);
        if (random.unit() < 0.5)
            x = random.unit() < 0.5 ? random.between(0, 110) : random.between(690, 800);
        else
            y = random.unit() < 0.5 ? random.between(0, 90) : random.between(510, 600);
        paintTrace(cr, mood, random, x, y);
    }
}

// A few large soft blooms of light give depth without detail.
void paintBlooms(Canvas& canvas, const Mood& mood, PatternRandom& random, int count) {
    Canvas blooms(ScreenWidth, ScreenHeight, canvas.scale());
    for (int i = 0; i < count; ++i) {
        const double x = random.between(0, ScreenWidth), y = random.between(0, ScreenHeight);
        const double radius = random.between(30, 90);
        cairo_arc(blooms.cr(), x, y, radius, 0, 2 * Pi);
        cairo_set_source_rgba(blooms.cr(), mood.trace[0], mood.trace[1], mood.trace[2], random.between(0.04, 0.09));
        cairo_fill(blooms.cr());
    }
    blurCanvas(blooms, 12);
    addCanvas(canvas, blooms, 0, 0);
}

PixelBlock finish(const Canvas& canvas) {
    PixelBlock pixels = canvas.pixels();
    makeOpaqueWithoutBlack(pixels);
    return pixels;
}

}  // namespace

PixelBlock makeGameBackground(int mood, int scale) {
    const Mood& look = Moods[static_cast<size_t>(mood)];
    PatternRandom random(look.seed);
    Canvas canvas(ScreenWidth, ScreenHeight, scale);
    paintGradient(canvas.cr(), look, 400, 300);
    paintBlooms(canvas, look, random, 10);
    paintGrid(canvas.cr(), look);
    paintTraces(canvas.cr(), look, random, 26);
    return finish(canvas);
}

PixelBlock makeMenuBackground(int scale) {
    const Mood& look = Moods[0];
    PatternRandom random(look.seed);
    Canvas canvas(ScreenWidth, ScreenHeight, scale);
    paintGradient(canvas.cr(), look, 420, 140);
    paintBlooms(canvas, look, random, 14);
    paintGrid(canvas.cr(), look);
    paintTraces(canvas.cr(), look, random, 40);
    // A soft light behind the title and a darker column behind the buttons.
    cairo_t* cr = canvas.cr();
    cairo_pattern_t* halo = cairo_pattern_create_radial(MenuLogoX, MenuLogoY, 10, MenuLogoX, MenuLogoY, 260);
    cairo_pattern_add_color_stop_rgba(halo, 0, 0.3, 0.8, 0.9, 0.22);
    cairo_pattern_add_color_stop_rgba(halo, 1, 0.3, 0.8, 0.9, 0.0);
    cairo_set_source(cr, halo);
    cairo_paint(cr);
    cairo_pattern_destroy(halo);
    const MenuPanel& panel = MenuButtonPanel;
    roundedRectangle(cr, panel.x, panel.y, panel.width, panel.height, 18);
    cairo_set_source_rgba(cr, 0.0, 0.02, 0.04, 0.35);
    cairo_fill(cr);
    return finish(canvas);
}
