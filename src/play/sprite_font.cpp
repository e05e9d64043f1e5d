#include "play/sprite_font.h"

#include "media/media_layer.h"

namespace {

constexpr int FirstGlyph = 33;
constexpr int LastGlyph = 122;
constexpr int SpaceAdvance = 5;
constexpr int DigitAdvance = 27;
constexpr int ShadowOffset = 2;
constexpr float ShadowAlphaDrop = 0.3f;

// Widths of the small font's characters 33..122 ('!' .. 'z'); a glyph advances one less.
constexpr std::array<int, 90> SmallFontWidths = {
    2, 6,  9,  8,  14, 11, 4,  6, 5,  8,   // ! " # $ % & ' ( ) *
    9, 4,  6,  3,  6,  8,  6,  8, 8,  9,   // + , - . / 0 1 2 3 4
    8, 8,  9,  9,  8,  4,  5,  9, 9,  9,   // 5 6 7 8 9 : ; < = >
    7, 12, 10, 8,  9,  10, 8,  8, 10, 10,  // ? @ A B C D E F G H
    6, 7,  9,  8,  10, 9,  11, 8, 11, 9,   // I J K L M N O P Q R
    9, 10, 9,  10, 14, 9,  10, 9, 5,  7,   // S T U V W X Y Z [ backslash
    6, 9,  9,  4,  7,  8,  7,  8, 8,  7,   // ] ^ _ ` a b c d e f
    8, 7,  3,  5,  7,  3,  11, 7, 8,  8,   // g h i j k l m n o p
    8, 5,  7,  6,  7,  9,  11, 9, 8,  8,   // q r s t u v w x y z
};

bool hasGlyph(unsigned char code) { return code >= FirstGlyph && code <= LastGlyph; }

// The width that placement uses: full table value for right-aligned text, one less otherwise.
int placementWidth(const SpriteFont& font, const std::string& text, int trim) {
    int sum = 0;
    for (unsigned char code : text) {
        if (code == ' ')
            sum += SpaceAdvance;
        else if (hasGlyph(code))
            sum += font.glyphWidths[code - FirstGlyph] - trim;
    }
    return sum;
}

// Black copy at +2, +2 and 0.3 less alpha, then the frame itself in the caller's colour.
void drawWithShadow(MediaLayer& media, const Image& image, int x, int y, int frame) {
    const Colour colour = media.getDrawColour();
    const float alpha = media.getDrawAlpha();
    media.setDrawColour(0, 0, 0);
    media.setDrawAlpha(alpha - ShadowAlphaDrop);
    media.drawImage(image, static_cast<float>(x + ShadowOffset), static_cast<float>(y + ShadowOffset), frame);
    media.setDrawColour(colour.r, colour.g, colour.b);
    media.setDrawAlpha(alpha);
    media.drawImage(image, static_cast<float>(x), static_cast<float>(y), frame);
}

}  // namespace

void buildGlyphWidths(SpriteFont& font) { font.glyphWidths = SmallFontWidths; }

int textWidth(const SpriteFont& font, const std::string& text) { return placementWidth(font, text, 1); }

void drawText(MediaLayer& media, const SpriteFont& font, int x, int y, const std::string& text, TextAlign align) {
    if (align == AlignCentre) x -= placementWidth(font, text, 1) / 2;
    if (align == AlignRight) x -= placementWidth(font, text, 0);
    const Image& image = *font.smallGlyphs;
    for (unsigned char code : text) {
        if (code == ' ') {
            x += SpaceAdvance;
            continue;
        }
        // No game text holds other characters; anything without a picture is left out.
        if (!hasGlyph(code)) continue;
        drawWithShadow(media, image, x, y, code - FirstGlyph);
        x += font.glyphWidths[code - FirstGlyph] - 1;
    }
}

void drawDigits(MediaLayer& media, const SpriteFont& font, int x, int y, const std::string& text) {
    x -= DigitAdvance * static_cast<int>(text.size());
    const Image& image = *font.bigDigits;
    for (unsigned char code : text) {
        // Only "0".."9" and ":" have pictures; others keep their place but show nothing.
        if (code >= '0' && code <= ':') drawWithShadow(media, image, x, y, code - '0');
        x += DigitAdvance;
    }
}
