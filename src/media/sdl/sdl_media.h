#pragma once
// The MediaLayer that ships: SDL2 window, renderer, input, clock and audio device.

#include <chrono>
#include <memory>

#include "media/draw/draw_path.h"
#include "media/media_layer.h"
#include "media/sdl/frame_pacer.h"

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

// When each stage of opening the screen ended.
struct ScreenOpening {
    using Time = std::chrono::steady_clock::time_point;
    Time begun, videoReady, windowReady, rendererReady, cleared, audioReady, probeDone;
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
    // The name of SDL's renderer ("opengl", "software" ...), "" before the screen is open (tests).
    std::string rendererName() const;
    // How long opening the screen took, stage by stage (benchmarks).
    const ScreenOpening& openingTimes() const { return opening; }

protected:
    void pumpEvents() override;

private:
    void handleEvent(const SDL_Event& event);
    void toggleFullScreen();
    // Says why the screen could not be opened; false.
    bool reportScreenFailure();
    void runRefreshProbe(int depth, int refreshHz);
    // SDL's renderer, or the composer where OpenGL would draw on the CPU anyway (decided
    // before the window was made when there is no graphics card).
    bool openRenderer(bool composeFromTheStart);
    // Asks a short-lived OpenGL context of the window for its rasteriser.
    bool openGlDrawsInSoftware();
    bool rendererDrawsInSoftware();
    static bool currentOpenGlDrawsInSoftware();
    // Switches to composing frames in memory, shown through SDL's software renderer.
    bool startComposing();
    void showComposedFrame();

    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::unique_ptr<SdlAudio> audio;
    std::unique_ptr<QuadBatch> batch;   // quads waiting to be drawn together
    std::unique_ptr<CpuCanvas> canvas;  // the frame in memory, when composing
    SDL_Texture* canvasTexture = nullptr;
    DrawStats frameStats, shownStats;
    ScreenOpening opening;
    int screenWidth = 800, screenHeight = 600;
    bool fullScreen = false;
    bool softwareRenderer = false;
    DrawPath drawPath;

    // Vsync where the probe trusts it, the timer schedule otherwise.
    FramePacer pacer;
};
