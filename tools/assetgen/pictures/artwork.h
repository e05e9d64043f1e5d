#pragma once
// Every picture of the game as a function that draws it at a scale: the same shapes for the
// 800 x 600 screen at 1, two and three times as many pixels each way at 2 and 3. Sizes and
// positions here are logical pixels (the screen's). Each returns straight RGBA pixels;
// strips are laid out cells left to right, then top to bottom.

#include <array>

#include "board/tile_codes.h"
#include "common/picture_text.h"
#include "media/pictures/image.h"

// Board tiles: "gfx/complete.spr", 120 cells of 56 x 56.
constexpr int TileSize = 56;
constexpr int TileFrames = TileSheetFrames;
PixelBlock makeTileSheet(int scale);

// Small text font: one 13 x 13 cell per character code 33..122. Each glyph's ink fits
// inside its advance, which is its table value minus 1.
constexpr int SmallGlyphSize = 13;
constexpr int FirstSmallGlyph = 33;
constexpr std::array<int, 90> SmallGlyphWidths = {
    2, 6,  9,  8, 14, 11, 4, 6, 5,  8,  9, 4, 6, 3, 6,  8, 6,  8, 8,  9, 8, 8,  9, 9,  8,  4, 5,  9, 9, 9,
    7, 12, 10, 8, 9,  10, 8, 8, 10, 10, 6, 7, 9, 8, 10, 9, 11, 8, 11, 9, 9, 10, 9, 10, 14, 9, 10, 9, 5, 7,
    6, 9,  9,  4, 7,  8,  7, 8, 8,  7,  8, 7, 3, 5, 7,  3, 11, 7, 8,  8, 8, 5,  7, 6,  7,  9, 11, 9, 8, 8};
PixelBlock makeSmallFont(const FontLibrary& fonts, int scale);

// Large timer digits "0".."9" and ":", 46 x 64 cells, ink about 24 px wide.
PixelBlock makeBigFont(const FontLibrary& fonts, int scale);

// Pointer (2 of 23 x 32) and cleaning cursor (34 of 32 x 32).
PixelBlock makePointer(int scale);
PixelBlock makeCrest(int scale);

// Additive effect pictures.
PixelBlock makeSphere(int scale);
PixelBlock makeLights(int scale);
PixelBlock makeParticles(int scale);

// Play-screen furniture: music buttons (8 of 32 x 32), panel icon, tip bubble (3 of 13 x 16), panel strip.
PixelBlock makeMusicButtons(int scale);
// The undo and restart buttons in the music buttons' look (4 of 32 x 32: both, then both lit),
// and the padlock of a locked piece (16 x 16).
PixelBlock makeBoardToolButtons(int scale);
PixelBlock makePadlock(int scale);
PixelBlock makeIcon(int scale);
PixelBlock makeHintBubble(int scale);
PixelBlock makePanel(int scale);

// Logos.
PixelBlock makeProductLogo(const FontLibrary& fonts, int scale);
// Where the menu shows the product logo (centred), and the darker panel its background
// lays behind the column of buttons: the logo keeps clear of the panel.
constexpr double MenuLogoX = 420, MenuLogoY = 126;
struct MenuPanel {
    double x, y, width, height;
};
constexpr MenuPanel MenuButtonPanel{500, 160, 300, 310};
PixelBlock makePublisherLogo(const FontLibrary& fonts, int scale);

// Menu buttons with their labels (7 of 281 x 57) and their additive glows.
PixelBlock makeMenuButtons(const FontLibrary& fonts, int scale);
PixelBlock makeMenuButtonGlows(const FontLibrary& fonts, int scale);

// Glows of the menu's text links, "Records" and "Options" (2 of 90 x 30), drawn additively.
constexpr int MenuLinkWidth = 90, MenuLinkHeight = 30, MenuLinkCount = 2;
PixelBlock makeMenuLinkGlows(const FontLibrary& fonts, int scale);

// Board backdrops for size classes 0..3.
PixelBlock makeBoardCanvas(int sizeClass, int scale);

// Full-screen backgrounds: menu, and the six in-game moods 1..6 (opaque, no pure black).
PixelBlock makeMenuBackground(int scale);
PixelBlock makeGameBackground(int mood, int scale);
