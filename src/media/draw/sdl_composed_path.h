#pragma once
// Frames composed in memory by the CPU compositor and handed to the window once per frame
// through SDL's software renderer: for machines whose graphics would draw in software anyway.

#include <memory>

#include "media/draw/cpu_canvas.h"
#include "media/draw/drawing_path.h"

struct SDL_Renderer;
struct SDL_Window;
struct SDL_Texture;

class SdlComposedPath : public DrawingPath {
public:
    // Takes over the renderer (SDL's software one), showing a screen of the given size.
    SdlComposedPath(SDL_Renderer* renderer, SDL_Texture* frameTexture, int screenWidth, int screenHeight);
    ~SdlComposedPath() override;

    void clear() override { canvas.clear(); }
    void drawImage(const Image& image, float x, float y, int frame, const DrawState& draw) override {
        canvas.drawImage(image, x, y, frame, draw);
    }
    void drawRect(float x, float y, float width, float height, const DrawState& draw) override {
        canvas.drawRect(x, y, width, height, draw);
    }
    PixelBlock readFrame() override { return canvas.read(); }
    void finishFrame() override;
    void present() override;
    WindowPoint windowPoint(int x, int y) const override;
    DrawStats takeStats() override;
    bool composes() const override { return true; }
    std::string rendererName() const override;

private:
    SDL_Renderer* renderer;
    SDL_Texture* frameTexture;  // the composed frame on its way to the window
    CpuCanvas canvas;
    DrawStats stats;
};

// The path on a window, or nullptr (with SDL's error set) when SDL cannot give it.
std::unique_ptr<SdlComposedPath> openComposedPath(SDL_Window* window, int screenWidth, int screenHeight);
