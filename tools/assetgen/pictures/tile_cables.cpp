// Cable pieces and empty floor of the board tile sheet.

#include <array>

#include "common/picture_canvas.h"
#include "pattern_random.h"
#include "tile_parts.h"

namespace {

// Open sides N, E, S, W of each cable kind, as the board's connection rules read them.
constexpr std::array<std::array<bool, 4>, 15> OpenSides = {{
    {1, 0, 1, 0}, {0, 1, 0, 1}, {1, 0, 0, 1}, {1, 1, 0, 0}, {0, 1, 1, 0},
    {0, 0, 1, 1}, {1, 1, 0, 1}, {1, 1, 1, 0}, {0, 1, 1, 1}, {1, 0, 1, 1},
    {1, 1, 1, 1}, {0, 0, 0, 1}, {1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0},
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
    {10.0, 6, 28, 40, 0.95}, {6.0, 34, 168, 196, 1.0}, {2.0, 176, 248, 255, 0.85},
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

// A loose cable end carries a plug at the centre.
void drawPlug(cairo_t* cr) {
    roundedRectangle(cr, TileCentre - 7, TileCentre - 7, 14, 14, 3);
    setColour(cr, 10, 26, 36);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.0);
    setColour(cr, 120, 210, 230);
    cairo_stroke(cr);
    roundedRectangle(cr, TileCentre - 4, TileCentre - 4, 8, 8, 2);
    setColour(cr, 70, 90, 105);
    cairo_fill(cr);
    cairo_arc(cr, TileCentre, TileCentre, 2.0, 0, 6.2832);
    setColour(cr, 120, 255, 200);
    cairo_fill(cr);
}

}  // namespace

void drawCablePiece(cairo_t* cr, int kind) {
    const auto& open = OpenSides[static_cast<size_t>(kind)];
    for (const CableLayer& layer : CableLayers) strokeBranches(cr, open, layer);
    const int branches = open[0] + open[1] + open[2] + open[3];
    if (branches >= 3) drawHub(cr);
    if (branches == 1) drawPlug(cr);
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
