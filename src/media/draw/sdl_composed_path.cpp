#include "media/draw/sdl_composed_path.h"

#include <SDL.h>

#include <string_view>
#include <utility>

namespace {

// The software renderer by its index: a renderer named in SDL's hint would win otherwise.
int softwareDriverIndex() {
    for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
        SDL_RendererInfo info;
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && std::string_view(info.name) == "software") return i;
    }
    return -1;
}

}  // namespace

std::unique_ptr<SdlComposedPath> openComposedPath(SDL_Window* window, int screenWidth, int screenHeight) {
    // The composed frame is one copy to the window: the software renderer does that best,
    // straight to the window system (SDL would otherwise show its window through OpenGL).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_Renderer* renderer = SDL_CreateRenderer(window, softwareDriverIndex(), SDL_RENDERER_SOFTWARE);
    if (!renderer) return nullptr;
    // 0x00RRGGBB words, as the canvas keeps them.
    SDL_Texture* texture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, screenWidth, screenHeight);
    if (!texture) {
        SDL_DestroyRenderer(renderer);
        return nullptr;
    }
    return std::make_unique<SdlComposedPath>(renderer, texture, screenWidth, screenHeight);
}

SdlComposedPath::SdlComposedPath(SDL_Renderer* renderer, SDL_Texture* frameTexture, int screenWidth, int screenHeight)
    : renderer(renderer), frameTexture(frameTexture), canvas(screenWidth, screenHeight) {
    SDL_RenderSetLogicalSize(renderer, screenWidth, screenHeight);
}

SdlComposedPath::~SdlComposedPath() {
    SDL_DestroyTexture(frameTexture);
    SDL_DestroyRenderer(renderer);
}

void SdlComposedPath::finishFrame() {
    SDL_UpdateTexture(frameTexture, nullptr, canvas.pixels(), canvas.width() * 4);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);  // the bars around a letterboxed screen
    SDL_RenderCopy(renderer, frameTexture, nullptr, nullptr);
    const CpuCanvas::Counts counts = canvas.takeCounts();
    stats.quads += counts.quads;
    stats.drawCalls += counts.composites + 1;
}

void SdlComposedPath::present() { SDL_RenderPresent(renderer); }

WindowPoint SdlComposedPath::windowPoint(int x, int y) const {
    WindowPoint point;
    SDL_RenderLogicalToWindow(renderer, static_cast<float>(x), static_cast<float>(y), &point.x, &point.y);
    return point;
}

DrawStats SdlComposedPath::takeStats() { return std::exchange(stats, DrawStats{}); }

std::string SdlComposedPath::rendererName() const {
    SDL_RendererInfo info;
    return SDL_GetRendererInfo(renderer, &info) == 0 ? info.name : "";
}
