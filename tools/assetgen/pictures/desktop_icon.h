#pragma once
// The game's icon: a computer on a cable, in the game's colours. Drawn for the desktop's
// menus (the hicolor icon theme, at every size and as a scalable SVG) and for the game's
// window, whose icon the game loads from its picture sets.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "media/pictures/image.h"

constexpr std::array<int, 7> DesktopIconSizes = {16, 24, 32, 48, 64, 128, 256};
// The icon's name in the theme: the desktop entry's and the game's window class.
constexpr const char* DesktopIconName = "net.pelmar.cablewright";
// The window icon's size in logical pixels: 64, 128 or 192 pixels in the picture sets.
constexpr int WindowIconSize = 64;

// The icon drawn at size x size pixels, straight RGBA with transparent corners.
PixelBlock makeDesktopIcon(int size);
// The window icon of the picture set of that scale.
PixelBlock makeWindowIcon(int scale);
// The same drawing as an SVG document, 256 pixels square, through cairo's SVG surface.
std::vector<uint8_t> makeScalableDesktopIcon();
// Writes <folder>/hicolor/<n>x<n>/apps/<name>.png for every size and
// <folder>/hicolor/scalable/apps/<name>.svg.
void writeDesktopIcons(const std::filesystem::path& folder);
