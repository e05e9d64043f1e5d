// The desktop icon, drawn once on a 256-unit square and scaled for each size, so every
// size shows the same picture: a dark tile, a cable sweeping up to a computer whose
// screen glows the green of a connected machine.

#include "desktop_icon.h"

#include <cairo-svg.h>

#include <stdexcept>

#include "common/picture_canvas.h"
#include "common/picture_writers.h"

namespace {

constexpr double DesignSize = 256;

void drawTile(cairo_t* cr) {
    roundedRectangle(cr, 12, 12, 232, 232, 40);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 12, 0, 244);
    cairo_pattern_add_color_stop_rgb(fill, 0, 0.09, 0.27, 0.38);
    cairo_pattern_add_color_stop_rgb(fill, 1, 0.03, 0.10, 0.16);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    cairo_set_line_width(cr, 6);
    setColour(cr, 120, 215, 235);
    cairo_stroke(cr);
}

// The cable in three strokes, dark edge, body and highlight, as in the game's logo.
void drawCable(cairo_t* cr) {
    const auto path = [cr] {
        cairo_move_to(cr, 30, 214);
        cairo_curve_to(cr, 90, 214, 70, 176, 128, 176);
    };
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const struct {
        double width;
        int r, g, b;
    } strokes[] = {{30, 6, 28, 40}, {20, 34, 168, 196}, {6, 190, 250, 255}};
    for (const auto& stroke : strokes) {
        path();
        cairo_set_line_width(cr, stroke.width);
        setColour(cr, stroke.r, stroke.g, stroke.b);
        cairo_stroke(cr);
    }
}

void drawComputer(cairo_t* cr) {
    // Stand and foot.
    cairo_rectangle(cr, 116, 150, 24, 30);
    setColour(cr, 150, 165, 175);
    cairo_fill(cr);
    roundedRectangle(cr, 86, 172, 84, 16, 6);
    setColour(cr, 190, 200, 208);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 4);
    setColour(cr, 20, 40, 52);
    cairo_stroke(cr);
    // Case.
    roundedRectangle(cr, 56, 44, 144, 112, 14);
    setColour(cr, 214, 222, 228);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 6);
    setColour(cr, 20, 40, 52);
    cairo_stroke(cr);
    // Screen, glowing green: connected.
    roundedRectangle(cr, 72, 58, 112, 82, 6);
    cairo_pattern_t* glow = cairo_pattern_create_radial(128, 99, 6, 128, 99, 70);
    cairo_pattern_add_color_stop_rgb(glow, 0, 0.62, 1.0, 0.55);
    cairo_pattern_add_color_stop_rgb(glow, 1, 0.08, 0.55, 0.20);
    cairo_set_source(cr, glow);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    // A few lines of text on the screen.
    cairo_set_line_width(cr, 6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColour(cr, 230, 255, 225, 0.85);
    for (int line = 0; line < 3; ++line) {
        cairo_move_to(cr, 86, 78 + 20 * line);
        cairo_line_to(cr, 86 + (line == 1 ? 56 : 80), 78 + 20 * line);
    }
    cairo_stroke(cr);
}

void drawPlug(cairo_t* cr) {
    roundedRectangle(cr, 14, 198, 26, 32, 5);
    setColour(cr, 10, 26, 36);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 3);
    setColour(cr, 140, 225, 240);
    cairo_stroke(cr);
}

// The whole icon on a square of `size` units, whatever the surface below.
void drawIcon(cairo_t* cr, double size) {
    cairo_scale(cr, size / DesignSize, size / DesignSize);
    drawTile(cr);
    drawCable(cr);
    drawComputer(cr);
    drawPlug(cr);
}

cairo_status_t appendBytes(void* bytes, const unsigned char* data, unsigned int length) {
    static_cast<std::vector<uint8_t>*>(bytes)->insert(static_cast<std::vector<uint8_t>*>(bytes)->end(), data,
                                                      data + length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

PixelBlock makeDesktopIcon(int size) {
    Canvas icon(size, size, 1);
    drawIcon(icon.cr(), size);
    return icon.pixels();
}

PixelBlock makeWindowIcon(int scale) { return makeDesktopIcon(WindowIconSize * scale); }

std::vector<uint8_t> makeScalableDesktopIcon() {
    std::vector<uint8_t> document;
    cairo_surface_t* surface = cairo_svg_surface_create_for_stream(appendBytes, &document, DesignSize, DesignSize);
    cairo_svg_surface_restrict_to_version(surface, CAIRO_SVG_VERSION_1_1);
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
    cairo_t* cr = cairo_create(surface);
    drawIcon(cr, DesignSize);
    cairo_destroy(cr);
    cairo_surface_finish(surface);  // the document is written out here
    const cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(std::string("cannot draw the scalable icon: ") + cairo_status_to_string(status));
    return document;
}

void writeDesktopIcons(const std::filesystem::path& folder) {
    const std::string file = std::string(DesktopIconName);
    for (int size : DesktopIconSizes) {
        const std::string edge = std::to_string(size);
        const std::filesystem::path apps = folder / "hicolor" / (edge + "x" + edge) / "apps";
        std::filesystem::create_directories(apps);
        saveBytes((apps / (file + ".png")).string(), encodePng(makeDesktopIcon(size), true));
    }
    const std::filesystem::path scalable = folder / "hicolor" / "scalable" / "apps";
    std::filesystem::create_directories(scalable);
    saveBytes((scalable / (file + ".svg")).string(), makeScalableDesktopIcon());
}
