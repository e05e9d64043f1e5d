#pragma once
// The MediaLayer that ships: SDL2 window, renderer, input, clock and audio device.

#include <memory>

#include "media/draw_path.h"
#include "media/frame_pacer.h"
#include "media/media_layer.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
class CpuCanvas;
union SDL_Event;
class SdlAudio;
class QuadBatch;

// What drawing one frame asked of the renderer.
struct DrawStats {
    int quads = 0;      // pictures and rectangles that reached the renderer
    int drawCalls = 0;  // batches handed to it
};

class SdlMedia : public MediaLayer {
public:
    explicit SdlMedia(DrawPath path = DrawPath::Automatic);
    ~SdlMedia() override;

    bool openScreen(int width, int height, int depth, int refreshHz, int flags) override;
    void presentFrame() override;
    void clearScreen() override;
    void drawImage(const Image& image, float x, float y, int frame) override;
    void drawRect(float x, float y, float width, float height) override;
    void movePointer(int x, int y) override;
    void hidePointer() override;
    int millisecs() override;
    [[noreturn]] void fatalError(const std::string& message) override;

    // The picture on screen as RGBA rows (tests; read before presenting).
    PixelBlock readScreen();
    // The cost of the frame presented last (benchmarks).
    DrawStats lastFrameStats() const { return shownStats; }
    // True when frames are composed by the CPU rather than drawn by SDL's renderer.
    bool composing() const { return canvas != nullptr; }

protected:
    void pumpEvents() override;

private:
    void handleEvent(const SDL_Event& event);
    void toggleFullScreen();
    // Says why the screen could not be opened; false.
    bool reportScreenFailure();
    void runRefreshProbe(int depth, int refreshHz);
    bool rendererDrawsInSoftware();
    // Switches to composing frames in memory, shown through SDL's software renderer.
    bool startComposing();
    void showComposedFrame();

    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::unique_ptr<SdlAudio> audio;
    std::unique_ptr<QuadBatch> batch;  // quads waiting to be drawn together
    std::unique_ptr<CpuCanvas> canvas;  // the frame in memory, when composing
    SDL_Texture* canvasTexture = nullptr;
    DrawStats frameStats, shownStats;
    int screenWidth = 800, screenHeight = 600;
    bool fullScreen = false;
    bool softwareRenderer = false;
    DrawPath drawPath;

    // Vsync where the probe trusts it, the millisecond schedule otherwise.
    FramePacer pacer;
};
