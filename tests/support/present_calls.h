#pragma once
// SDL's ways of showing a frame (the renderer's present, and an update of the window's surface
// when the CPU composes the frame), taken over by a library preloaded into the real game to
// note every frame shown. The includer defines, before including this, a function template
// `notePresent(present)` that calls present() (the real one, returning its result) and notes
// what it wants around it. Include it in one file of the library only.

#include <dlfcn.h>

// The definition the game would have called without the preloaded library.
template <typename Function>
Function realFunction(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

extern "C" void SDL_RenderPresent(void* renderer) {
    using Present = void (*)(void*);
    static const auto present = realFunction<Present>("SDL_RenderPresent");
    notePresent([renderer] {
        present(renderer);
        return 0;
    });
}

extern "C" int SDL_UpdateWindowSurface(void* window) {
    using Update = int (*)(void*);
    static const auto update = realFunction<Update>("SDL_UpdateWindowSurface");
    return notePresent([window] { return update(window); });
}

extern "C" int SDL_UpdateWindowSurfaceRects(void* window, const void* rects, int count) {
    using Update = int (*)(void*, const void*, int);
    static const auto update = realFunction<Update>("SDL_UpdateWindowSurfaceRects");
    return notePresent([=] { return update(window, rects, count); });
}
