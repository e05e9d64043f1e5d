#pragma once
// The one place where the drawing path is chosen, when the screen opens.

#include <memory>

#include "media/draw/drawing_path.h"
#include "media/draw/path_choice.h"

struct SDL_Window;

// True when frames are composed from the very start (forced, or no graphics card): the
// window is then made without OpenGL, which is never loaded.
bool composesFromTheStart(PathChoice choice);

// The path drawing on the window: SDL's renderer where it draws on a GPU (or where it is
// forced), the CPU compositor where OpenGL would draw on the CPU anyway. nullptr, with
// SDL's error set, when neither can be had.
std::unique_ptr<DrawingPath> openDrawingPath(SDL_Window* window, PathChoice choice, int screenWidth, int screenHeight);
