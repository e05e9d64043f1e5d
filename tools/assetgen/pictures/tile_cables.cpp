// Cable pieces and empty floor of the board tile sheet.

#include <array>

#include "common/picture_canvas.h"
#include "pattern_random.h"
#include "tile_parts.h"

namespace {

// Open sides N, E, S, W of each cable kind, as the board's connection rules read them.
constexpr std::array<std::array<bool, 4>, 15> OpenSides = {{
    {1, 0, 1, 0},
    {0, 1, 0, 1},
    {1, 0, 0, 1},
    {1, 1, 0, 0},
    {0, 1, 1, 0},
    {0, 0, 1, 1},
    {1, 1, 0, 1},
    {1, 1, 1, 0},
    {0, 1, 1, 1},
    {1, 0, 1, 1},
    {1, 1, 1, 1},
    {0, 0, 0, 1},
    {1, 0, 0, 0},
    {0, 1, 0, 0},
    {0, 0, 1, 0},
}};

// The cable runs past the tile edge so that the cut at the edge is clean.
constexpr std::array<std::array<double, 2>, 4> SideEnds = {{{28, -2}, {58, 28}, {28, 58}, {-2, 28}}};

struct CableLayer {
    double width;
    int red, green, blue;
    double alpha;
};

// Casing, body and bright core, drawn in that order over every branch.
constexpr std::array<CableLayer, 3> CableLayers = {{
    {10.0, 6, 28, 40, 0.95},
    {6.0, 34, 168, 196, 1.0},
    {2.0, 176, 248, 255, 0.85},
}};

void strokeBranches(cairo_t* cr, const std::array<bool, 4>& open, const CableLayer& layer) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, layer.width);
    setColour(cr, layer.red, layer.green, layer.blue, layer.alpha);
    // Two open sides form one path, so a corner bends smoothly instead of overlapping.
    int sides[4], count = 0;
    for (int side = 0; side < 4; ++side)
        if (open[side]) sides[count++] = side;
    if (count == 2) {
        cairo_move_to(cr, SideEnds[sides[0]][0], SideEnds[sides[0]][1]);
        cairo_line_to(cr, TileCentre, TileCentre);
        cairo_line_to(cr, SideEnds[sides[1]][0], SideEnds[sides[1]][1]);
    } else {
        for (int i = 0; i < count; ++i) {
            cairo_move_to(cr, TileCentre, TileCentre);
            cairo_line_to(cr, SideEnds[sides[i]][0], SideEnds[sides[i]][1]);
        }
    }
    cairo_stroke(cr);
}

// The junction of three or four branches gets a round connector.
void drawHub(cairo_t* cr) {
    cairo_arc(cr, TileCentre, TileCentre, 7.0, 0, 6.2832);
    setColour(cr, 6, 28, 40, 0.95);
    cairo_fill(cr);
    cairo_arc(cr, TileCentre, TileCentre, 5.0, 0, 6.2832);
    setColour(cr, 60, 200, 220);
    cairo_fill(cr);
    cairo_arc(cr, TileCentre, TileCentre, 2.0, 0, 6.2832);
    setColour(cr, 220, 255, 255);
    cairo_fill(cr);
}

// An end is the output of a device (or a loose end): a plug at the edge of the device body
// and the cable from there to the cell edge. Drawn for the east side; `side` turns it.
void drawEnd(cairo_t* cr, int side) {
    cairo_save(cr);
    cairo_translate(cr, TileCentre, TileCentre);
    cairo_rotate(cr, (side - 1) * 1.5707963267948966);
    cairo_translate(cr, -TileCentre, -TileCentre);
    const double plugStart = TileCentre + DeviceBodyHalf - 1, plugEnd = TileCentre + DeviceBodyHalf + PlugLength;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (const CableLayer& layer : CableLayers) {
        cairo_set_line_width(cr, layer.width);
        setColour(cr, layer.red, layer.green, layer.blue, layer.alpha);
        cairo_move_to(cr, plugEnd - 1, TileCentre);
        cairo_line_to(cr, SideEnds[1][0], TileCentre);
        cairo_stroke(cr);
    }
    // The plug: a dark rim, a steel shell, and a lit collar against the body.
    const double top = TileCentre - PlugWidth / 2;
    cairo_rectangle(cr, plugStart, top, plugEnd - plugStart, PlugWidth);
    setColour(cr, 6, 28, 40);
    cairo_fill(cr);
    cairo_rectangle(cr, plugStart + 1, top + 1, plugEnd - plugStart - 2, PlugWidth - 2);
    cairo_pattern_t* shell = cairo_pattern_create_linear(0, top, 0, top + PlugWidth);
    cairo_pattern_add_color_stop_rgb(shell, 0, 0.80, 0.88, 0.92);
    cairo_pattern_add_color_stop_rgb(shell, 1, 0.40, 0.50, 0.58);
    cairo_set_source(cr, shell);
    cairo_fill(cr);
    cairo_pattern_destroy(shell);
    cairo_rectangle(cr, plugStart + 1, top + 1, 2, PlugWidth - 2);
    setColour(cr, 140, 255, 230);
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace

void drawCablePiece(cairo_t* cr, int kind) {
    const auto& open = OpenSides[static_cast<size_t>(kind)];
    const int branches = open[0] + open[1] + open[2] + open[3];
    if (branches == 1) {
        for (int side = 0; side < 4; ++side)
            if (open[static_cast<size_t>(side)]) drawEnd(cr, side);
        return;
    }
    for (const CableLayer& layer : CableLayers) strokeBranches(cr, open, layer);
    if (branches >= 3) drawHub(cr);
}

namespace {

// A short circuit trace with a pad at each end.
void drawTrace(cairo_t* cr, PatternRandom& random) {
    const double x = random.between(12, 44), y = random.between(12, 44);
    const bool across = random.unit() < 0.5;
    const double length = random.between(6, 14) * (random.unit() < 0.5 ? -1 : 1);
    const double endX = across ? x + length : x, endY = across ? y : y + length;
    setColour(cr, 90, 170, 190, 0.22);
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, endX, endY);
    cairo_stroke(cr);
    for (const auto& pad : {std::array<double, 2>{x, y}, std::array<double, 2>{endX, endY}}) {
        cairo_arc(cr, pad[0], pad[1], 1.5, 0, 6.2832);
        cairo_fill(cr);
    }
}

}  // namespace

void drawFloor(cairo_t* cr, int variant) {
    // Kept inside the 48-pixel cell so neighbouring floors never overlap and darken.
    roundedRectangle(cr, 5.5, 5.5, 45, 45, 4);
    setColour(cr, 8, 20, 34, 0.30 + 0.02 * (variant % 3));
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.0);
    setColour(cr, 120, 190, 210, 0.10);
    cairo_stroke(cr);
    PatternRandom random(static_cast<uint32_t>(variant) + 77u);
    const int traces = variant % 4 == 1 ? 2 : (variant % 5 == 3 ? 1 : 0);
    for (int i = 0; i < traces; ++i) drawTrace(cr, random);
    if (variant % 6 == 5) {
        roundedRectangle(cr, 22, 23, 12, 10, 1.5);
        setColour(cr, 60, 110, 130, 0.20);
        cairo_fill(cr);
    }
}
