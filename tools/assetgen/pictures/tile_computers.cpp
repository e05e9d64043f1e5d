// Computer monitors of the board tile sheet: the same 40 screen animations on a
// not-connected (blue) and a connected (green) screen, and the infected (red) screen.

#include <array>
#include <cmath>

#include "board/tile_codes.h"
#include "common/picture_canvas.h"
#include "pattern_random.h"
#include "tile_parts.h"

namespace {

struct ScreenLook {
    std::array<int, 3> background, ink;
};

constexpr std::array<ScreenLook, 3> Looks = {{
    {{{16, 38, 118}}, {{120, 180, 255}}},
    {{{18, 128, 58}}, {{200, 255, 190}}},
    {{{160, 18, 22}}, {{255, 210, 190}}},
}};

// The screen pictures are drawn in a 28 x 20 design box and shrunk onto the real screen.
constexpr double ScreenX = 14, ScreenY = 13, ScreenW = 28, ScreenH = 20;

// The monitor fills the device body square: bezel on top, stand below, nothing outside.
constexpr double BodyLeft = TileCentre - DeviceBodyHalf, BodyRight = TileCentre + DeviceBodyHalf;
constexpr double BodyTop = TileCentre - DeviceBodyHalf, BodyBottom = TileCentre + DeviceBodyHalf;
constexpr double BezelBottom = BodyBottom - 6;
constexpr double GlassX = BodyLeft + 2.5, GlassY = BodyTop + 2, GlassW = 21, GlassH = 14;

void setInk(cairo_t* cr, const ScreenLook& look, double alpha = 1.0) {
    setColour(cr, look.ink[0], look.ink[1], look.ink[2], alpha);
}

// A line of pretend text: a thin bar of the given length.
void textLine(cairo_t* cr, double x, double y, double length) {
    cairo_rectangle(cr, x, y, length, 1.5);
    cairo_fill(cr);
}

// 0..9: the logo lights up, a progress bar fills, then the ready prompt.
void drawBoot(cairo_t* cr, const ScreenLook& look, int step) {
    if (step == 0) {
        setInk(cr, look, 0.45);
        textLine(cr, ScreenX + 2, ScreenY + 3, 3);
        return;
    }
    const double glow = step == 1 ? 0.4 : 1.0;
    setInk(cr, look, glow);
    cairo_arc(cr, ScreenX + ScreenW / 2, ScreenY + 7, 3.5, 0, 6.2832);
    cairo_fill(cr);
    if (step >= 3 && step <= 8) {
        setInk(cr, look, 0.5);
        cairo_rectangle(cr, ScreenX + 5, ScreenY + 14, ScreenW - 10, 3);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
        setInk(cr, look);
        cairo_rectangle(cr, ScreenX + 5.5, ScreenY + 14.5, (ScreenW - 11) * (step - 2) / 6.0, 2);
        cairo_fill(cr);
    }
    if (step == 9) {
        textLine(cr, ScreenX + 6, ScreenY + 13, 16);
        textLine(cr, ScreenX + 9, ScreenY + 16, 10);
    }
}

// 10..19: a radar sweep turning once.
void drawRadar(cairo_t* cr, const ScreenLook& look, int step) {
    const double cx = ScreenX + ScreenW / 2, cy = ScreenY + ScreenH / 2;
    setInk(cr, look, 0.45);
    cairo_set_line_width(cr, 0.8);
    cairo_arc(cr, cx, cy, 8, 0, 6.2832);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, 4, 0, 6.2832);
    cairo_stroke(cr);
    const double angle = step * 6.2832 / 10.0 - 1.5708;
    setInk(cr, look, 0.35);
    cairo_move_to(cr, cx, cy);
    cairo_arc_negative(cr, cx, cy, 8, angle, angle - 1.2);
    cairo_close_path(cr);
    cairo_fill(cr);
    setInk(cr, look);
    cairo_set_line_width(cr, 1.2);
    cairo_move_to(cr, cx, cy);
    cairo_line_to(cr, cx + 8 * std::cos(angle), cy + 8 * std::sin(angle));
    cairo_stroke(cr);
}

// 20..29: a bar meter, bars rising and falling.
void drawMeter(cairo_t* cr, const ScreenLook& look, int step) {
    setInk(cr, look);
    for (int bar = 0; bar < 6; ++bar) {
        const double level = 0.5 + 0.45 * std::sin(step * 0.9 + bar * 1.7);
        const double height = 2 + level * (ScreenH - 6);
        cairo_rectangle(cr, ScreenX + 3 + bar * 4, ScreenY + ScreenH - 2 - height, 3, height);
        cairo_fill(cr);
    }
}

// 30..35: text scrolling up; 36..39: a prompt with a blinking cursor.
void drawTerminal(cairo_t* cr, const ScreenLook& look, int step) {
    PatternRandom random(5);
    std::array<double, 12> lengths{};
    for (double& length : lengths) length = random.between(6, 22);
    const int scroll = step < PromptScreens ? step - TerminalScreens : PromptScreens - TerminalScreens;
    setInk(cr, look, 0.85);
    for (int line = 0; line < 5; ++line)
        textLine(cr, ScreenX + 2, ScreenY + 2 + line * 3.5, lengths[static_cast<size_t>(line + scroll)]);
    if (step >= PromptScreens) {
        setInk(cr, look);
        textLine(cr, ScreenX + 2, ScreenY + 16, 3);
        if (step % 2 == 0) cairo_rectangle(cr, ScreenX + 7, ScreenY + 14.5, 3, 3), cairo_fill(cr);
    }
}

// Infected: a virus in the middle of the red screen.
void drawVirus(cairo_t* cr, const ScreenLook& look) {
    const double cx = ScreenX + ScreenW / 2, cy = ScreenY + ScreenH / 2;
    setInk(cr, look);
    cairo_set_line_width(cr, 1.2);
    for (int spike = 0; spike < 8; ++spike) {
        const double angle = spike * 6.2832 / 8;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + 7 * std::cos(angle), cy + 7 * std::sin(angle));
        cairo_stroke(cr);
        cairo_arc(cr, cx + 7 * std::cos(angle), cy + 7 * std::sin(angle), 1.2, 0, 6.2832);
        cairo_fill(cr);
    }
    cairo_arc(cr, cx, cy, 4.2, 0, 6.2832);
    cairo_fill(cr);
    setColour(cr, 120, 0, 10);
    cairo_arc(cr, cx - 1.4, cy - 0.8, 0.9, 0, 6.2832);
    cairo_arc(cr, cx + 1.4, cy - 0.8, 0.9, 0, 6.2832);
    cairo_fill(cr);
}

void drawScreenContent(cairo_t* cr, int state, int animFrame) {
    const ScreenLook& look = Looks[static_cast<size_t>(state)];
    if (state == 2) return drawVirus(cr, look);
    if (animFrame < RadarScreens) return drawBoot(cr, look, animFrame - BootScreens);
    if (animFrame < MeterScreens) return drawRadar(cr, look, animFrame - RadarScreens);
    if (animFrame < TerminalScreens) return drawMeter(cr, look, animFrame - MeterScreens);
    drawTerminal(cr, look, animFrame);
}

void drawMonitorCase(cairo_t* cr) {
    // Stand first, so the bezel sits over its neck.
    roundedRectangle(cr, TileCentre - 8, BodyBottom - 3, 16, 3, 1.2);
    setColour(cr, 70, 84, 100);
    cairo_fill(cr);
    cairo_rectangle(cr, TileCentre - 2.5, BezelBottom - 1, 5, 4);
    setColour(cr, 96, 110, 126);
    cairo_fill(cr);
    roundedRectangle(cr, BodyLeft + 0.5, BodyTop + 0.5, BodyRight - BodyLeft - 1, BezelBottom - BodyTop - 1, 2.5);
    cairo_pattern_t* metal = cairo_pattern_create_linear(0, BodyTop, 0, BezelBottom);
    cairo_pattern_add_color_stop_rgb(metal, 0, 0.80, 0.85, 0.90);
    cairo_pattern_add_color_stop_rgb(metal, 1, 0.42, 0.48, 0.56);
    cairo_set_source(cr, metal);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(metal);
    cairo_set_line_width(cr, 1.0);
    setColour(cr, 18, 26, 36);
    cairo_stroke(cr);
}

// Not-connected screens play their idle pictures faintly, so the screen colour reads first.
double contentAlpha(int state) { return state == 0 ? 0.35 : 1.0; }

void drawScreen(cairo_t* cr, int state, int animFrame) {
    const ScreenLook& look = Looks[static_cast<size_t>(state)];
    cairo_save(cr);
    cairo_rectangle(cr, GlassX, GlassY, GlassW, GlassH);
    setColour(cr, look.background[0], look.background[1], look.background[2]);
    cairo_fill_preserve(cr);
    cairo_clip(cr);
    cairo_push_group(cr);
    cairo_translate(cr, GlassX, GlassY);
    cairo_scale(cr, GlassW / ScreenW, GlassH / ScreenH);
    cairo_translate(cr, -ScreenX, -ScreenY);
    drawScreenContent(cr, state, animFrame);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, contentAlpha(state));
    // A soft reflection across the glass.
    cairo_pattern_t* glare = cairo_pattern_create_linear(GlassX, GlassY, GlassX + GlassW, GlassY + GlassH);
    cairo_pattern_add_color_stop_rgba(glare, 0, 1, 1, 1, 0.18);
    cairo_pattern_add_color_stop_rgba(glare, 0.5, 1, 1, 1, 0.0);
    cairo_set_source(cr, glare);
    cairo_paint(cr);
    cairo_pattern_destroy(glare);
    cairo_restore(cr);
    cairo_rectangle(cr, GlassX - 0.5, GlassY - 0.5, GlassW + 1, GlassH + 1);
    cairo_set_line_width(cr, 1.0);
    setColour(cr, 24, 30, 40);
    cairo_stroke(cr);
}

}  // namespace

void drawComputer(cairo_t* cr, int state, int animFrame) {
    drawMonitorCase(cr);
    drawScreen(cr, state, animFrame);
    // Power light under the screen.
    cairo_arc(cr, BodyRight - 3, BezelBottom - 2.2, 0.9, 0, 6.2832);
    if (state == 1)
        setColour(cr, 90, 255, 120);
    else if (state == 2)
        setColour(cr, 255, 70, 60);
    else
        setColour(cr, 80, 140, 255);
    cairo_fill(cr);
}
