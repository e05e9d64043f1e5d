#pragma once
// Picture sets: every picture of the game drawn at several scales, one folder each. "gfx/"
// holds the set for the 800 x 600 screen (scale 1); the set of scale k mirrors it file by
// file in "gfx@k/" ("gfx@2/", "gfx@3/"), each picture k times as wide and as tall and each
// strip cut into cells k times the size, the same picture in more pixels.

#include <array>
#include <string>

constexpr std::array<int, 3> PictureScales = {1, 2, 3};
constexpr int LargestPictureScale = PictureScales.back();

// The file of the scale's set for a picture named by its path in the scale-1 set:
// "gfx/panel.spr" at scale 2 is "gfx@2/panel.spr". Other paths are the same at every scale.
inline std::string scaledPicturePath(const std::string& path, int scale) {
    const bool inPictureFolder =
        path.size() > 4 && path.compare(0, 3, "gfx") == 0 && (path[3] == '/' || path[3] == '\\');
    if (scale == 1 || !inPictureFolder) return path;
    return "gfx@" + std::to_string(scale) + path.substr(3);
}
