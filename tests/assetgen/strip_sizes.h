#pragma once
// The strips of the scale-1 picture set as the game cuts them: cell size and frame count.

struct StripSize {
    const char* name;
    int cellWidth, cellHeight, frames;
};

constexpr StripSize Strips[] = {
    {"gfx/pointer.spr", 23, 32, 2},      {"gfx/lights.spr", 64, 64, 2},           {"gfx/buttons.spr", 32, 32, 8},
    {"gfx/hint.spr", 13, 16, 3},         {"gfx/complete.spr", 56, 56, 120},       {"gfx/bigfont.spr", 46, 64, 11},
    {"gfx/tahomafont.spr", 13, 13, 90},  {"gfx/crest.spr", 32, 32, 34},           {"gfx/01.spr", 64, 64, 2},
    {"gfx/menubuttons.spr", 281, 57, 7}, {"gfx/menubuttonsglow.spr", 281, 57, 7}, {"gfx/linkglow.spr", 90, 30, 2},
    {"gfx/toolbuttons.spr", 32, 32, 4},
};
