#include "media/draw/sdl_path_choice.h"

#include <SDL.h>

#include <string_view>

#include "media/draw/cpu/sdl_composed_path.h"
#include "media/draw/sdl_renderer_path.h"

namespace {

bool currentOpenGlDrawsInSoftware() {
    // Mesa without a driver for the card draws OpenGL on the CPU too, and more slowly than
    // composing the frame ourselves.
    using GetString = const unsigned char* (*)(unsigned int);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    constexpr unsigned int GlRenderer = 0x1F01;
    const unsigned char* name = getString ? getString(GlRenderer) : nullptr;
    return name && isSoftwareRasteriser(reinterpret_cast<const char*>(name));
}

// Asks a short-lived OpenGL context of the window for its rasteriser: milliseconds, where
// making SDL's OpenGL renderer on a software rasteriser takes half a second of shader
// building, all thrown away when the frames are composed instead.
bool openGlDrawsInSoftware(SDL_Window* window) {
    if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL)) return false;
    const SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) return false;
    const bool software = currentOpenGlDrawsInSoftware();
    SDL_GL_MakeCurrent(window, nullptr);
    SDL_GL_DeleteContext(context);
    return software;
}

bool rendererDrawsInSoftware(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0) return false;
    if (info.flags & SDL_RENDERER_SOFTWARE) return true;
    // The renderer's context is the current one.
    return std::string_view(info.name).substr(0, 6) == "opengl" && SDL_GL_GetCurrentContext() &&
           currentOpenGlDrawsInSoftware();
}

}  // namespace

bool composesFromTheStart(PathChoice choice) {
    return choice == PathChoice::Composer || (choice == PathChoice::Automatic && !graphicsCardPresent());
}

std::unique_ptr<DrawingPath> openDrawingPath(SDL_Window* window, PathChoice choice, int screenWidth, int screenHeight) {
    if (composesFromTheStart(choice) || (choice == PathChoice::Automatic && openGlDrawsInSoftware(window)))
        return openComposedPath(window, screenWidth, screenHeight);
    // Ask for no renderer by name: naming one turns the batching off.
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) return nullptr;
    if (choice == PathChoice::Renderer || !rendererDrawsInSoftware(renderer))
        return std::make_unique<SdlRendererPath>(renderer, screenWidth, screenHeight);
    SDL_DestroyRenderer(renderer);
    return openComposedPath(window, screenWidth, screenHeight);
}
