// "gfx/back/canvas0.spr" .. "canvas3.spr": the dark panels behind the four board sizes.
// canvas2 also backs the help pages: wide enough for their text lines, opaque and plain
// so the text stands on a calm plate over the menu, and no taller than the tiles of the
// 10 x 9 board (y 80..520) so its border stays above the menu's welcome line at y 520.

#include <array>

#include "artwork.h"
#include "common/picture_canvas.h"

namespace {

struct CanvasSize {
    int columns, rows, width, height;
};

constexpr std::array<CanvasSize, 4> Sizes = {{
    {4, 5, 232, 280},
    {6, 7, 328, 376},
    {10, 9, 520, 440},
    {14, 11, 704, 556},
}};

constexpr int Cell = 48;
constexpr int HelpPlateClass = 2;

// Grid lines on the cell edges of the board, which is centred on the panel.
void paintGrid(cairo_t* cr, const CanvasSize& size) {
    const double left = (size.width - size.columns * Cell) / 2.0;
    const double top = (size.height - size.rows * Cell) / 2.0;
    cairo_set_line_width(cr, 1.0);
    setColour(cr, 120, 200, 220, 0.10);
    for (int c = 0; c <= size.columns; ++c)
        cairo_move_to(cr, left + c * Cell + 0.5, top), cairo_line_to(cr, left + c * Cell + 0.5, top + size.rows * Cell);
    for (int r = 0; r <= size.rows; ++r)
        cairo_move_to(cr, left, top + r * Cell + 0.5),
            cairo_line_to(cr, left + size.columns * Cell, top + r * Cell + 0.5);
    cairo_stroke(cr);
    cairo_rectangle(cr, left - 3.5, top - 3.5, size.columns * Cell + 7, size.rows * Cell + 7);
    setColour(cr, 120, 200, 220, 0.18);
    cairo_stroke(cr);
}

void paintScrews(cairo_t* cr, const CanvasSize& size) {
    for (const double x : {9.0, size.width - 9.0})
        for (const double y : {9.0, size.height - 9.0}) {
            cairo_arc(cr, x, y, 3, 0, 6.2832);
            setColour(cr, 150, 190, 205, 0.45);
            cairo_fill(cr);
        }
}

}  // namespace

PixelBlock makeBoardCanvas(int sizeClass, int scale) {
    const CanvasSize& size = Sizes[static_cast<size_t>(sizeClass)];
    Canvas canvas(size.width, size.height, scale);
    cairo_t* cr = canvas.cr();
    roundedRectangle(cr, 1.5, 1.5, size.width - 3, size.height - 3, 12);
    cairo_pattern_t* body = cairo_pattern_create_linear(0, 0, 0, size.height);
    cairo_pattern_add_color_stop_rgb(body, 0, 0.08, 0.12, 0.16);
    cairo_pattern_add_color_stop_rgb(body, 1, 0.05, 0.08, 0.11);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    cairo_set_line_width(cr, 2.0);
    setColour(cr, 130, 210, 230, 0.75);
    cairo_stroke(cr);
    // The help text would sit on the grid lines; the 10 x 9 board's floor tiles mark its cells anyway.
    if (sizeClass != HelpPlateClass) paintGrid(cr, size);
    paintScrews(cr, size);
    return canvas.pixels();
}
