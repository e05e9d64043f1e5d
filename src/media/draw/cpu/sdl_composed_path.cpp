#include "media/draw/cpu/sdl_composed_path.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <utility>

namespace {

// Composing (and stretching) a frame may take this much of its 16.7 ms: the rest goes to the
// game and to sending the frame to the window system.
constexpr double ComposingBudgetMs = 12.0;

// A band per half a million pixels, up to one per core: a frame of 800 x 600 is composed
// sooner on one thread than handed round (each band places every quad again).
int bandsFor(int width, int height) {
    const int cores = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 16u));
    return std::clamp(width * height / 500000, 1, cores);
}

// 0x00RRGGBB words, as the canvas keeps them (the fourth byte is not looked at).
bool keepsCanvasWords(const SDL_Surface* surface) {
    return surface->format->format == SDL_PIXELFORMAT_RGB888 || surface->format->format == SDL_PIXELFORMAT_ARGB8888;
}

}  // namespace

std::unique_ptr<SdlComposedPath> openComposedPath(SDL_Window* window, int screenWidth, int screenHeight) {
    // The composed frame is one copy to the window, straight to the window system (SDL would
    // otherwise show its window surface through OpenGL).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (!SDL_GetWindowSurface(window)) return nullptr;
    return std::make_unique<SdlComposedPath>(window, screenWidth, screenHeight);
}

SdlComposedPath::SdlComposedPath(SDL_Window* window, int screenWidth, int screenHeight)
    : window(window),
      screenWidth(screenWidth),
      screenHeight(screenHeight),
      budget(ComposingBudgetMs),
      canvas(std::make_unique<CpuCanvas>(screenWidth, screenHeight, 1.0f, bandsFor(screenWidth, screenHeight))) {
    canvas->takePicturesFrom(&ahead);
    int width = screenWidth, height = screenHeight;
    SDL_GetWindowSize(window, &width, &height);
    setViewport(fitScreen(screenWidth, screenHeight, width, height));
}

SdlComposedPath::~SdlComposedPath() = default;

void SdlComposedPath::setViewport(const Viewport& newViewport) {
    viewport = newViewport;
    float scale = viewport.scale;
    int width = viewport.width, height = viewport.height;
    if (composingScale > 0 && static_cast<float>(composingScale) < scale) {
        scale = static_cast<float>(composingScale);
        width = screenWidth * composingScale, height = screenHeight * composingScale;
    }
    if (width != canvas->width() || height != canvas->height() || scale != canvas->scale()) {
        canvas->compose();
        canvas.reset();  // its pictures go before the new scale's are made
        canvas = std::make_unique<CpuCanvas>(width, height, scale, bandsFor(width, height));
        canvas->takePicturesFrom(&ahead);
        // What was prepared for another scale is of no use at this one.
        ahead.keepOnly(scale);
        for (const Image& image : soon) ahead.prepare(image, scale);
    }
    budget.restart();
    takeWindowSurface();
}

void SdlComposedPath::takeWindowSurface() {
    canvas->compose();  // anything recorded goes where it was meant to
    surface = SDL_GetWindowSurface(window);
    composesInPlace = false;
    wholeWindowChanged = true;
    if (!surface) return;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    const bool fits = viewport.x + viewport.width <= surface->w && viewport.y + viewport.height <= surface->h;
    composesInPlace = fits && keepsCanvasWords(surface) && !SDL_MUSTLOCK(surface) && !stretches();
    if (composesInPlace) {
        auto* pixels = static_cast<uint32_t*>(surface->pixels);
        const int stride = surface->pitch / 4;
        canvas->composeInto(pixels + static_cast<size_t>(viewport.y) * stride + viewport.x, stride);
    } else {
        canvas->composeInto(nullptr, 0);
    }
}

void SdlComposedPath::finishFrame() {
    const auto begun = std::chrono::steady_clock::now();
    canvas->compose();
    double conversionMs = 0;
    const bool fits =
        surface && viewport.x + viewport.width <= surface->w && viewport.y + viewport.height <= surface->h;
    if (fits && stretches() && keepsCanvasWords(surface) && !SDL_MUSTLOCK(surface)) {
        const int stride = surface->pitch / 4;
        canvas->stretchInto(
            static_cast<uint32_t*>(surface->pixels) + static_cast<size_t>(viewport.y) * stride + viewport.x, stride,
            viewport.width, viewport.height);
    } else if (surface && !composesInPlace) {
        // A window whose pixels are not the canvas's words: one conversion into them.
        const int64_t begun = threadCpuNanos();
        SDL_Rect area{viewport.x, viewport.y, std::min(canvas->width(), surface->w - viewport.x),
                      std::min(canvas->height(), surface->h - viewport.y)};
        if (area.w > 0 && area.h > 0 && SDL_LockSurface(surface) == 0) {
            auto* into = static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(area.y) * surface->pitch +
                         static_cast<size_t>(area.x) * surface->format->BytesPerPixel;
            SDL_ConvertPixels(area.w, area.h, SDL_PIXELFORMAT_RGB888, canvas->pixels(), canvas->stride() * 4,
                              surface->format->format, into, surface->pitch);
            SDL_UnlockSurface(surface);
        }
        conversionMs = static_cast<double>(threadCpuNanos() - begun) / 1e6;
    }
    const CpuCanvas::Counts counts = canvas->takeCounts();
    stats.quads += counts.quads;
    stats.drawCalls += counts.composites + 1;
    frameCpuMs = canvas->takeComposingCpuMs() + conversionMs;
    frameWallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begun).count();
}

void SdlComposedPath::frameShownLate(double lateMs) {
    // Stretching goes straight into the window's pixels, where they are the canvas's words.
    const bool canStretch = surface && keepsCanvasWords(surface) && !SDL_MUSTLOCK(surface);
    const bool mayChange = scaleMayDrop && canStretch;
    const float larger = largerComposingScale();
    const double growth = mayChange && larger > 0 ? (larger / canvas->scale()) * (larger / canvas->scale()) : 0;
    switch (budget.judge({frameCpuMs, frameWallMs, lateMs}, growth)) {
        case ComposeVerdict::TooCostly:
            if (mayChange && smallerComposingScale(canvas->scale()) > 0) composingScaleDrops = true;
            break;
        case ComposeVerdict::RoomToGrow: composingScaleGrows = true; break;
        case ComposeVerdict::Keep: break;
    }
}

float SdlComposedPath::largerComposingScale() const {
    if (!stretches()) return 0;
    const float next = std::floor(canvas->scale()) + 1;
    return std::min(next, viewport.scale);
}

void SdlComposedPath::present() {
    if (!surface) return;
    if (wholeWindowChanged) {
        SDL_UpdateWindowSurface(window);
        wholeWindowChanged = false;
        return;
    }
    const SDL_Rect area{viewport.x, viewport.y, viewport.width, viewport.height};
    SDL_UpdateWindowSurfaceRects(window, &area, 1);
    // Between frames, so the one just shown went out whole.
    if (composingScaleDrops) {
        composingScaleDrops = false;
        // Gone up to this scale only to give it up again: the next try waits longer.
        if (canvas->scale() == grownTo) budget.growMoreSlowly();
        grownTo = 0;
        composingScale = smallerComposingScale(canvas->scale());
        std::printf(
            "frames took %.1f ms of CPU to compose at %.2f pixels to a logical pixel and %d of %d came late: now "
            "composed at %d and stretched to the window\n",
            budget.lastMedian(), static_cast<double>(canvas->scale()), budget.lastLate(),
            static_cast<int>(ComposeBudget::Frames), composingScale);
        std::fflush(stdout);
        setViewport(viewport);
    } else if (composingScaleGrows) {
        composingScaleGrows = false;
        const float larger = largerComposingScale();
        if (larger <= 0) return;
        // The window's own scale is not a whole one to keep: 0 composes at it.
        composingScale = larger < viewport.scale ? static_cast<int>(larger) : 0;
        std::printf("frames took %.1f ms of CPU to compose at %.2f pixels to a logical pixel: now composed at %.2f\n",
                    budget.lastMedian(), static_cast<double>(canvas->scale()), static_cast<double>(larger));
        std::fflush(stdout);
        setViewport(viewport);
        grownTo = canvas->scale();
    }
}

void SdlComposedPath::prepareSoon(const Image& image) {
    if (!image.file) return;  // small enough to prepare when drawn
    soon.push_back(image);
    ahead.prepare(image, canvas->scale());
}

DrawStats SdlComposedPath::takeStats() { return std::exchange(stats, DrawStats{}); }
