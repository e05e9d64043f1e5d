#pragma once
// Frames drawn by SDL's renderer: OpenGL or a GPU where there is one. Pictures live in
// textures (one atlas per picture), quads are batched while they share a texture and a
// blend mode, and every quad is drawn at the window's own pixels, the logical screen
// letterboxed into it.

#include <memory>

#include "media/draw/drawing_path.h"
#include "media/draw/sdl_quad_batch.h"
#include "media/draw/sdl_texture_atlas.h"

struct SDL_Renderer;

class SdlRendererPath : public DrawingPath {
public:
    // Takes over the renderer, drawing a screen of the given size.
    SdlRendererPath(SDL_Renderer* renderer, int screenWidth, int screenHeight);
    ~SdlRendererPath() override;

    void setViewport(const Viewport& viewport) override { this->viewport = viewport; }
    void clear() override;
    void drawImage(const Image& image, float x, float y, int frame, const DrawState& draw) override;
    void drawRect(float x, float y, float width, float height, const DrawState& draw) override;
    PixelBlock readFrame() override;
    void finishFrame() override;
    void present() override;
    bool refreshPacesPresents(int refreshHz) override;
    DrawStats takeStats() override;
    bool composes() const override { return false; }
    float drawingScale() const override { return viewport.scale; }
    std::string rendererName() const override;

private:
    SDL_Renderer* renderer;
    int screenWidth, screenHeight;
    Viewport viewport;
    bool softwareRenderer = false;
    // Both go before the renderer: they hold its textures and its pending draws.
    std::unique_ptr<TextureAtlas> atlas;
    std::unique_ptr<QuadBatch> batch;
    DrawStats stats;
};
