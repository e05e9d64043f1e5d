#pragma once
// The MediaLayer that ships: SDL2 window, renderer, input, clock and audio device.

#include <memory>

#include "media/frame_pacer.h"
#include "media/media_layer.h"

struct SDL_Window;
struct SDL_Renderer;
union SDL_Event;
class SdlAudio;
class QuadBatch;

// What drawing one frame asked of the renderer.
struct DrawStats {
    int quads = 0;      // pictures and rectangles that reached the renderer
    int drawCalls = 0;  // batches handed to it
};

// How frames are drawn: by SDL's renderer (a GPU), or composed in memory by the CPU and
// handed to SDL once per frame. Automatic takes the composer where the renderer would
// draw in software anyway; tests and benchmarks may force either.
enum class DrawPath { Automatic, Renderer, Composer };

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

protected:
    void pumpEvents() override;

private:
    void handleEvent(const SDL_Event& event);
    void toggleFullScreen();
    // Says why the screen could not be opened; false.
    bool reportScreenFailure();
    void runRefreshProbe(int depth, int refreshHz);

    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::unique_ptr<SdlAudio> audio;
    std::unique_ptr<QuadBatch> batch;  // quads waiting to be drawn together
    DrawStats frameStats, shownStats;
    int screenWidth = 800, screenHeight = 600;
    bool fullScreen = false;
    bool softwareRenderer = false;
    DrawPath drawPath;

    // Vsync where the probe trusts it, the millisecond schedule otherwise.
    FramePacer pacer;
};
