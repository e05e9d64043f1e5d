#pragma once
// The game's icon for the desktop's menus: a computer on a cable, in the game's colours.
// Not loaded by the game; installed into the hicolor icon theme.

#include <array>
#include <filesystem>

#include "media/pictures/image.h"

constexpr std::array<int, 4> DesktopIconSizes = {48, 64, 128, 256};

// The icon drawn at size x size pixels, straight RGBA with transparent corners.
PixelBlock makeDesktopIcon(int size);
// Writes <folder>/hicolor/<n>x<n>/apps/cablewright.png for every size.
void writeDesktopIcons(const std::filesystem::path& folder);
