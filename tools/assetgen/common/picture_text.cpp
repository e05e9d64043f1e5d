#include "common/picture_text.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <stdexcept>

namespace {

constexpr const char* FontFolder = "/usr/share/fonts/truetype/dejavu/";

constexpr std::array<const char*, 5> FontFiles = {
    "DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansCondensed-Bold.ttf", "DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf"};

const cairo_user_data_key_t FaceKey{};

void releaseFace(void* face) { FT_Done_Face(static_cast<FT_Face>(face)); }

}  // namespace

struct FontLibrary::Faces {
    FT_Library library = nullptr;
    std::array<cairo_font_face_t*, FontFiles.size()> cairoFaces{};
};

FontLibrary::FontLibrary() : faces(std::make_unique<Faces>()) {
    if (FT_Init_FreeType(&faces->library) != 0) throw std::runtime_error("cannot start FreeType");
    for (size_t i = 0; i < FontFiles.size(); ++i) {
        FT_Face face = nullptr;
        const std::string path = std::string(FontFolder) + FontFiles[i];
        if (FT_New_Face(faces->library, path.c_str(), 0, &face) != 0)
            throw std::runtime_error("cannot open font " + path);
        // Hinting off: outlines are used as designed, independent of the FreeType build.
        cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_ft_face(face, FT_LOAD_NO_HINTING);
        // cairo may keep the face in its caches after we let go, so it frees the FreeType face itself.
        cairo_font_face_set_user_data(cairoFace, &FaceKey, face, releaseFace);
        faces->cairoFaces[i] = cairoFace;
    }
}

FontLibrary::~FontLibrary() {
    for (cairo_font_face_t* face : faces->cairoFaces) cairo_font_face_destroy(face);
    // Empty cairo's font caches so every face is released before its library goes.
    cairo_debug_reset_static_data();
    FT_Done_FreeType(faces->library);
}

void FontLibrary::use(cairo_t* cr, FontStyle style, double size) const {
    cairo_set_font_face(cr, faces->cairoFaces[static_cast<size_t>(style)]);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

TextInk measureText(cairo_t* cr, const std::string& text) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return {extents.x_bearing, extents.y_bearing, extents.width, extents.height, extents.x_advance};
}

void textPath(cairo_t* cr, double x, double y, const std::string& text) {
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, text.c_str());
}

void centredTextPath(cairo_t* cr, double centreX, double centreY, const std::string& text) {
    const TextInk ink = measureText(cr, text);
    textPath(cr, centreX - ink.left - ink.width / 2, centreY - ink.top - ink.height / 2, text);
}
