#pragma once
// One frame's drawing as the CPU compositor records it, to be composed afterwards band by
// band: each entry holds what composing needs of its picture (never the picture itself,
// which the game may free before the frame is composed).

#include "media/draw/cpu/cpu_pictures.h"
#include "media/draw/draw_state.h"

// A picture's size and handle in logical pixels, and its prepared frames' size in pixels.
struct PictureFacts {
    int width = 0, height = 0;
    float handleX = 0, handleY = 0;
    int pixelWidth = 0, pixelHeight = 0;
    bool filtered = true;
};

struct CpuDraw {
    enum class Kind { Clear, Picture, Rect } kind = Kind::Clear;
    const CpuPictures* pictures = nullptr;  // prepared in `look` before composing
    PictureFacts picture;
    int frame = 0;
    FrameLook look = FrameLook::AsLoaded;
    float x = 0, y = 0, width = 0, height = 0;
    DrawState draw;
};
