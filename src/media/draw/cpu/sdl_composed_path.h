#pragma once
// Frames composed in memory by the CPU compositor, straight into the window's own pixels, and
// sent to the window system once per frame: for machines whose graphics would draw in
// software anyway. The black bars round a letterboxed screen are drawn only when the window
// changes. Where frames at the window's own scale cost more than their share of the frame's
// time, they are composed at the next smaller whole scale and stretched smoothly to the window,
// and go back up when the machine has room for it again.

#include <memory>
#include <vector>

#include "media/draw/cpu/compose_budget.h"
#include "media/draw/cpu/cpu_canvas.h"
#include "media/draw/drawing_path.h"

struct SDL_Window;
struct SDL_Surface;

class SdlComposedPath : public DrawingPath {
public:
    SdlComposedPath(SDL_Window* window, int screenWidth, int screenHeight);
    ~SdlComposedPath() override;

    void setViewport(const Viewport& viewport) override;
    void clear() override { canvas->clear(); }
    void drawImage(const Image& image, float x, float y, int frame, const DrawState& draw) override {
        canvas->drawImage(image, x, y, frame, draw);
    }
    void drawRect(float x, float y, float width, float height, const DrawState& draw) override {
        canvas->drawRect(x, y, width, height, draw);
    }
    PixelBlock readFrame() override { return canvas->read(); }
    void finishFrame() override;
    void frameShownLate(double lateMs) override;
    void present() override;
    DrawStats takeStats() override;
    bool composes() const override { return true; }
    std::string rendererName() const override { return "cpu"; }
    float drawingScale() const override { return canvas->scale(); }
    void keepScale() override { scaleMayDrop = false; }
    void prepareSoon(const Image& image) override;

private:
    // The window's pixels, taken again after the window changed; the bars painted black.
    void takeWindowSurface();
    bool stretches() const { return canvas->scale() < viewport.scale; }
    // The scale to go up to from a smaller one: the next whole one, or the window's own
    // when that comes first; 0 when composing at the window's scale already.
    float largerComposingScale() const;

    SDL_Window* window;
    int screenWidth, screenHeight;
    Viewport viewport;
    SDL_Surface* surface = nullptr;  // the window's, freed by SDL
    bool composesInPlace = false;    // into the window's pixels, or into the canvas's and copied
    bool wholeWindowChanged = true;  // the bars too go out with the next present
    int composingScale = 0;          // a whole scale below the window's; 0 while frames keep up
    bool composingScaleDrops = false;
    bool composingScaleGrows = false;
    float grownTo = 0;  // the scale last gone up to, until frames are judged too costly there
    bool scaleMayDrop = true;
    ComposeBudget budget;
    double frameCpuMs = 0;   // composing the frame last finished took, in CPU time per band
    double frameWallMs = 0;  // and in time on the clock
    // The pictures asked for soon, prepared ahead at each scale frames are composed at; they
    // outlive the canvas that takes them.
    std::vector<Image> soon;
    CpuPicturesAhead ahead;
    std::unique_ptr<CpuCanvas> canvas;
    DrawStats stats;
};

// The path on a window, or nullptr (with SDL's error set) when SDL cannot give it.
std::unique_ptr<SdlComposedPath> openComposedPath(SDL_Window* window, int screenWidth, int screenHeight);
