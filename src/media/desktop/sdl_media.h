#pragma once
// The MediaLayer that ships: SDL2 window, input, clock and audio device, and the drawing
// path chosen for the machine when the screen opens.

#include <chrono>
#include <memory>

#include "media/desktop/frame_pacer.h"
#include "media/draw/drawing_path.h"
#include "media/draw/path_choice.h"
#include "media/draw/viewport.h"
#include "media/media_layer.h"

struct SDL_Window;
struct SDL_Rect;
union SDL_Event;
class SdlAudio;
class SdlGamePads;
class QuitSignals;
class PicturesSoon;

// When each stage of opening the screen ended.
struct ScreenOpening {
    using Time = std::chrono::steady_clock::time_point;
    Time begun, videoReady, windowReady, rendererReady, cleared, audioReady, probeDone;
};

class SdlMedia : public MediaLayer {
public:
    explicit SdlMedia(PathChoice path = PathChoice::Automatic);
    ~SdlMedia() override;

    int pictureScaleForScreen(int width, int height, int depth) override;
    bool openScreen(int width, int height, int depth, int refreshHz, int flags) override;
    void clearScreen() override;
    void drawImage(const Image& image, float x, float y, int frame) override;
    void drawRect(float x, float y, float width, float height) override;
    void movePointer(int x, int y) override;
    void hidePointer() override;
    void preparePicturesSoon(const std::vector<std::string>& paths) override;
    void setWindowIcon(const PixelBlock& picture) override;
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
    // The window's size in pixels instead of the one the display suggests (tests): before the
    // screen opens, the size it opens at; after, a new size at once, as a player dragging the
    // window's edge would give it.
    void setWindowSize(int width, int height);
    // Pixels of the frame as drawn per logical pixel (less than the viewport's where the CPU
    // stretches its frames to the window; benchmarks).
    float drawingScale() const { return path ? path->drawingScale() : 1.0f; }
    // Frames keep being drawn at the window's own scale however long they take (benchmarks
    // that measure a scale; before the screen opens).
    void keepDrawingScale() { scaleKept = true; }
    // Where the screen lies in the window, at how many window pixels to a logical pixel.
    const Viewport& screenViewport() const { return viewport; }
    // How many game pads are plugged in and open (tests).
    int gamePadCount() const;
    // How long opening the screen took, stage by stage (benchmarks).
    const ScreenOpening& openingTimes() const { return opening; }
    // The termination signals stay handled after the layer is gone, for the rest of the
    // process (the program, not tests that make layers one after another).
    void keepQuitSignalsToTheEnd();

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
    // SDL's video, started once (asking which pictures suit the screen starts it early).
    bool startVideo();
    // The window's size for a screen of the game's: the display's whole size full screen, the
    // largest whole multiple of the screen that fits the desktop's work area as a window.
    SDL_Rect windowArea(bool fullScreen) const;
    // The window's size now, as a viewport: given to the path at the end of a frame.
    Viewport currentViewport() const;
    // Says once on standard output how the screen is drawn.
    void sayHowTheScreenIsDrawn() const;
    // Says why the screen could not be opened; false.
    bool reportScreenFailure();
    void runRefreshProbe(int depth, int refreshHz);

    SDL_Window* window = nullptr;
    std::unique_ptr<SdlAudio> audio;
    std::unique_ptr<SdlGamePads> pads;
    std::unique_ptr<DrawingPath> path;  // goes before the window it draws on
    DrawStats shownStats;
    Viewport viewport;
    bool viewportChanged = false;         // the window changed since the frame began
    int askedWidth = 0, askedHeight = 0;  // by setWindowSize before the screen opened
    bool scaleKept = false;
    ScreenOpening opening;
    int screenWidth = 800, screenHeight = 600;
    bool fullScreen = false;
    PathChoice pathChoice;

    // Loaded beside the frames, handed to the path between them; goes before the path.
    std::unique_ptr<PicturesSoon> picturesSoon;

    // Vsync where the probe trusts it, the timer schedule otherwise.
    FramePacer pacer;

    // Requests to end the program that come from outside the event queue.
    std::unique_ptr<QuitSignals> quitSignals;
    bool signalNoted = false;
    bool displayLost = false;  // set by Xlib when the connection to the X server breaks
    bool displayLossNoted = false;
};
