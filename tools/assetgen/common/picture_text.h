#pragma once
// Text for the generated pictures: DejaVu faces opened by path through FreeType and
// drawn by cairo with hinting off and fixed antialiasing, so every run gives the same bytes.

#include <cairo.h>

#include <memory>
#include <string>

// Which of the DejaVu faces to use.
enum class FontStyle { Sans, SansBold, SansCondensedBold, Serif, SerifBold };

// Owns the FreeType library and the faces opened from it; create one per generation run.
class FontLibrary {
public:
    FontLibrary();
    ~FontLibrary();
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    // Selects the face and pixel size on the context, with hinting switched off.
    void use(cairo_t* cr, FontStyle style, double size) const;

private:
    struct Faces;
    std::unique_ptr<Faces> faces;
};

// Ink bounds of a text in the context's current font (x from the pen start, y from the baseline).
struct TextInk {
    double left = 0, top = 0, width = 0, height = 0, advance = 0;
};
TextInk measureText(cairo_t* cr, const std::string& text);

// Adds the text outline to the current path with its baseline starting at (x, y).
void textPath(cairo_t* cr, double x, double y, const std::string& text);
// Adds the text outline centred on (centreX, centreY) by its ink box.
void centredTextPath(cairo_t* cr, double centreX, double centreY, const std::string& text);
