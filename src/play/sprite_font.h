#pragma once
// Text in picture fonts: the large digits of the timer and the small proportional font.

#include <array>
#include <memory>
#include <string>

#include "media/pictures/image.h"

class MediaLayer;

// Where a line of text stands against its x: starting there, centred on it or ending there.
enum class TextAlign { Left, Centre, Right };
constexpr TextAlign AlignLeft = TextAlign::Left;
constexpr TextAlign AlignCentre = TextAlign::Centre;
constexpr TextAlign AlignRight = TextAlign::Right;

struct SpriteFont {
    std::array<int, 90> glyphWidths{};   // character codes 33..122
    std::unique_ptr<Image> smallGlyphs;  // gfx/tahomafont.spr, 90 of 13 x 13
    std::unique_ptr<Image> bigDigits;    // gfx/bigfont.spr, 11 of 46 x 64
};

// Fills the glyph-width table; once at start-up, before any text is drawn.
void buildGlyphWidths(SpriteFont& font);
// Width that centring uses: 5 per space, the table value minus 1 per other character.
int textWidth(const SpriteFont& font, const std::string& text);
// Small font at (x, y) (top of the glyphs), placed left, centred or right; black shadow at +2, +2.
void drawText(MediaLayer& media, const SpriteFont& font, int x, int y, const std::string& text, TextAlign align);
// Large digits ending at x.
void drawDigits(MediaLayer& media, const SpriteFont& font, int x, int y, const std::string& text);
