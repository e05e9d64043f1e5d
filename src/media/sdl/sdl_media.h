#pragma once
// The MediaLayer that ships: SDL2 window, input, clock and audio device, and the drawing
// path chosen for the machine when the screen opens.

#include <chrono>
#include <memory>

#include "media/draw/drawing_path.h"
#include "media/draw/path_choice.h"
#include "media/media_layer.h"
#include "media/sdl/frame_pacer.h"

struct SDL_Window;
union SDL_Event;
class SdlAudio;
class QuitSignals;

// When each stage of opening the screen ended.
struct ScreenOpening {
    using Time = std::chrono::steady_clock::time_point;
    Time begun, videoReady, windowReady, rendererReady, cleared, audioReady, probeDone;
};

class SdlMedia : public MediaLayer {
public:
    explicit SdlMedia(PathChoice path = PathChoice::Automatic);
    ~SdlMedia() override;

    bool openScreen(int width, int height, int depth, int refreshHz, int flags) override;
    void clearScreen() override;
    void drawImage(const Image& image, float x, float y, int frame) override;
    void drawRect(float x, float y, float width, float height) override;
    void movePointer(int x, int y) override;
    void hidePointer() override;
    int millisecs() override;
    [[noreturn]] void fatalError(const std::string& message) override;

    // The picture on screen as RGBA rows (tests; read before presenting).
    PixelBlock readScreen() { return path->readFrame(); }
    // The cost of the frame presented last (benchmarks).
    DrawStats lastFrameStats() const { return shownStats; }
    // True when frames are composed by the CPU rather than drawn by SDL's renderer.
    bool composing() const { return path && path->composes(); }
    // The name of SDL's renderer ("opengl", "software" ...), "" before the screen is open (tests).
    std::string rendererName() const { return path ? path->rendererName() : ""; }
    // How long opening the screen took, stage by stage (benchmarks).
    const ScreenOpening& openingTimes() const { return opening; }

protected:
    void showFrame() override;
    void pumpEvents() override;
    [[noreturn]] void endAtOnce() override;
    void quitBeingHandled() override;

private:
    void handleEvent(const SDL_Event& event);
    // A lost connection to the X server becomes a request to end instead of Xlib's exit(1).
    void watchDisplayConnection();
    void toggleFullScreen();
    // Says why the screen could not be opened; false.
    bool reportScreenFailure();
    void runRefreshProbe(int depth, int refreshHz);

    SDL_Window* window = nullptr;
    std::unique_ptr<SdlAudio> audio;
    std::unique_ptr<DrawingPath> path;  // goes before the window it draws on
    DrawStats shownStats;
    ScreenOpening opening;
    int screenWidth = 800, screenHeight = 600;
    bool fullScreen = false;
    PathChoice pathChoice;

    // Vsync where the probe trusts it, the timer schedule otherwise.
    FramePacer pacer;

    // Requests to end the program that come from outside the event queue.
    std::unique_ptr<QuitSignals> quitSignals;
    bool signalNoted = false;
    bool displayLost = false;  // set by Xlib when the connection to the X server breaks
    bool displayLossNoted = false;
};
