#include "media/desktop/sdl_media.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#include "media/desktop/pictures_soon.h"
#include "media/desktop/precise_wait.h"
#include "media/desktop/quit_signals.h"
#include "media/desktop/sdl_game_pads.h"
#include "media/desktop/sdl_video_start.h"
#include "media/draw/sdl_path_choice.h"
#include "media/media_parts.h"
#include "media/sound/sdl_audio.h"

namespace {

// A display that does not answer at once is asked again this many times in all, this far
// apart: one that is starting, or busy, may answer late.
constexpr int DisplayAttempts = 4;
constexpr int DisplayRetryPauseMs = 500;

// The name the desktop knows the game by: its desktop entry is DesktopAppId.desktop, whose
// StartupWMClass names the same, so docks and task bars put the running window under the
// launcher's icon. SDL gives it to the window as its X11 class and its Wayland app id.
constexpr const char* DesktopAppId = "net.pelmar.cablewright";

// The game's own keys; every other key is none of its business.
std::optional<Key> gameKey(SDL_Keycode key) {
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return Key::Enter;
        case SDLK_ESCAPE: return Key::Escape;
        case SDLK_SPACE: return Key::Space;
        default: return std::nullopt;
    }
}

std::optional<MouseButton> gameButton(Uint8 button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return MouseButton::Left;
        case SDL_BUTTON_RIGHT: return MouseButton::Right;
        case SDL_BUTTON_MIDDLE: return MouseButton::Middle;
        default: return std::nullopt;
    }
}

int64_t microsecondsNow() {
    static const double ticksPerMicro = static_cast<double>(SDL_GetPerformanceFrequency()) / 1e6;
    return static_cast<int64_t>(static_cast<double>(SDL_GetPerformanceCounter()) / ticksPerMicro);
}

}  // namespace

SdlMedia::SdlMedia(PathChoice choice)
    : audio(std::make_unique<SdlAudio>(mixer)),
      pads(std::make_unique<SdlGamePads>()),
      pathChoice(choice),
      pacer(microsecondsNow, waitPrecisely),
      quitSignals(std::make_unique<QuitSignals>()) {
    resetDrawState();
}

SdlMedia::~SdlMedia() {
    picturesSoon.reset();
    audio.reset();
    pads.reset();
    if (displayLost) {
        // Taking the window down would wait for ever on a display that is gone; the process
        // ends next, and takes the rest with it. Kept where a leak check still finds it
        // (volatile, or the optimiser drops a store that nothing reads).
        [[maybe_unused]] static DrawingPath* volatile leftToTheProcess = nullptr;
        leftToTheProcess = path.release();
        return;
    }
    path.reset();
    if (window) SDL_DestroyWindow(window);
    SDL_Quit();
}

bool SdlMedia::startVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // The game's own handlers note the termination signals (quit_signals.h); SDL's would
    // replace them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Read when the video starts; a class the player set himself stays.
    setenv("SDL_VIDEO_X11_WMCLASS", DesktopAppId, 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", DesktopAppId, 0);
    SDL_SetHint(SDL_HINT_APP_NAME, "Cablewright");  // for the sound server's list and the screen saver
    if (!startVideoOnADisplay(DisplayAttempts, DisplayRetryPauseMs, [this](const std::string& text) { warning(text); }))
        return false;
    if (!pads->start()) warning(std::string("no game pads: ") + SDL_GetError());  // the mouse plays alone
    return true;
}

SDL_Rect SdlMedia::windowArea(bool whole) const {
    SDL_Rect area{0, 0, screenWidth, screenHeight};
    if (askedWidth > 0) {
        area.w = askedWidth, area.h = askedHeight;
        return area;
    }
    if (whole) {
        SDL_GetDisplayBounds(0, &area);
        return area;
    }
    SDL_Rect work;
    if (SDL_GetDisplayUsableBounds(0, &work) != 0) return area;
    const int multiple = wholeMultipleThatFits(screenWidth, screenHeight, work.w, work.h);
    area.w = screenWidth * multiple, area.h = screenHeight * multiple;
    area.x = work.x + (work.w - area.w) / 2, area.y = work.y + (work.h - area.h) / 2;
    return area;
}

int SdlMedia::pictureScaleForScreen(int width, int height, int depth) {
    if (!startVideo()) return 1;
    screenWidth = width, screenHeight = height;
    const SDL_Rect area = windowArea(depth != 0);
    return pictureScaleFor(fitScreen(width, height, area.w, area.h).scale);
}

Viewport SdlMedia::currentViewport() const {
    int width = screenWidth, height = screenHeight;
    SDL_GetWindowSizeInPixels(window, &width, &height);
    return fitScreen(screenWidth, screenHeight, width, height);
}

void SdlMedia::setWindowSize(int width, int height) {
    if (!window) {
        askedWidth = width, askedHeight = height;
        return;
    }
    SDL_SetWindowSize(window, width, height);
    viewport = currentViewport();
    path->setViewport(viewport);
}

bool SdlMedia::openScreen(int width, int height, int depth, int refreshHz, int) {
    using Clock = std::chrono::steady_clock;
    opening.begun = Clock::now();
    if (!startVideo()) return reportScreenFailure();
    opening.videoReady = Clock::now();
    screenWidth = width;
    screenHeight = height;
    fullScreen = depth != 0;
    // Full screen, the window is made the display's size where it stands: without a window
    // manager nobody else would make it so.
    const SDL_Rect area = windowArea(fullScreen);
    const Uint32 windowFlags = fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE;
    // An OpenGL window unless the frames are composed from the start: SDL's OpenGL renderer
    // would make the window again, and the drawing path is chosen by asking OpenGL first.
    // Without OpenGL, a plain one.
    if (!composesFromTheStart(pathChoice))
        window = SDL_CreateWindow("Cablewright", area.x, area.y, area.w, area.h, windowFlags | SDL_WINDOW_OPENGL);
    if (!window) window = SDL_CreateWindow("Cablewright", area.x, area.y, area.w, area.h, windowFlags);
    if (!window) return reportScreenFailure();
    watchDisplayConnection();
    opening.windowReady = Clock::now();
    path = openDrawingPath(window, pathChoice, width, height);
    if (!path) return reportScreenFailure();
    if (scaleKept) path->keepScale();
    viewport = currentViewport();
    path->setViewport(viewport);
    opening.rendererReady = Clock::now();
    resetDrawState();
    for (int i = 0; i < 2; ++i) {
        path->clear();
        path->finishFrame();
        path->present();
    }
    path->takeStats();
    opening.cleared = Clock::now();
    if (!audio->open()) warning("no sound: " + audio->failure());  // the game runs silently
    opening.audioReady = Clock::now();
    runRefreshProbe(depth, refreshHz);
    movePointer(width / 2, height / 2);
    opening.probeDone = Clock::now();
    sayHowTheScreenIsDrawn();
    return true;
}

void SdlMedia::sayHowTheScreenIsDrawn() const {
    std::printf("drawing the %d x %d screen at %d x %d window pixels (%.2f to a pixel) with pictures of scale %d, %s\n",
                screenWidth, screenHeight, viewport.width, viewport.height, static_cast<double>(viewport.scale),
                pictureScale(),
                path->composes() ? "composed by the CPU" : ("by SDL's " + path->rendererName()).c_str());
    std::fflush(stdout);
}

bool SdlMedia::reportScreenFailure() {
    std::fprintf(stderr, "%s\n", SDL_GetError());
    return false;
}

void SdlMedia::runRefreshProbe(int depth, int refreshHz) {
    // A window is paced by the timer; so is a composed frame, which goes out through the
    // software renderer with no vertical blank to wait for (the path says so at once, and
    // the probe's 50 ms stay out of the start-up).
    const bool refreshPaces = refreshHz != 0 && depth != 0 && path->refreshPacesPresents(refreshHz);
    pacer.start(refreshHz, refreshHz != 0 && !refreshPaces);
}

void SdlMedia::showFrame() {
    path->finishFrame();
    shownStats = path->takeStats();
    path->frameShownLate(static_cast<double>(pacer.beforePresent()) / 1000.0);
    path->present();
    pacer.afterPresent();
    if (picturesSoon)
        for (const std::unique_ptr<Image>& picture : picturesSoon->takeLoaded()) path->prepareSoon(*picture);
    if (viewportChanged) {
        // Between frames: the frame just shown was drawn for the window as it was.
        viewportChanged = false;
        viewport = currentViewport();
        path->setViewport(viewport);
    }
}

void SdlMedia::clearScreen() { path->clear(); }

void SdlMedia::drawImage(const Image& image, float x, float y, int frame) { path->drawImage(image, x, y, frame, draw); }

void SdlMedia::drawRect(float x, float y, float width, float height) { path->drawRect(x, y, width, height, draw); }

void SdlMedia::movePointer(int x, int y) {
    input.pointerMoved(x, y);
    if (!window || !path) return;
    const PointInWindow point = toWindow(viewport, x, y);
    SDL_WarpMouseInWindow(window, point.x, point.y);
}

void SdlMedia::hidePointer() { SDL_ShowCursor(SDL_DISABLE); }

void SdlMedia::preparePicturesSoon(const std::vector<std::string>& paths) {
    picturesSoon.reset();
    // The set of scale 1 has no picture large enough to be worth it (an 800 x 600 frame draws
    // its backgrounds as they are loaded), so nothing is loaded twice there.
    if (pictureScale() <= 1) return;
    picturesSoon = std::make_unique<PicturesSoon>(paths, [this](const std::string& path) { return loadImage(path); });
}

void SdlMedia::setWindowIcon(const PixelBlock& picture) {
    if (!window || picture.rgba.empty()) return;
    // SDL copies the pixels into the window's icon property; the surface only lends them.
    SDL_Surface* icon =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(picture.rgba.data()), picture.width, picture.height, 32,
                                           picture.width * 4, SDL_PIXELFORMAT_RGBA32);
    if (!icon) return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

int SdlMedia::gamePadCount() const { return pads->count(); }

int SdlMedia::millisecs() {
    // Since the machine started, not since the program did: the start-up seed
    // comes from it, and a few seconds' worth of seeds would all play alike.
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count();
    return static_cast<int>(static_cast<uint32_t>(ms));
}

void SdlMedia::fatalError(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    std::_Exit(-1);
}

void SdlMedia::pumpEvents() {
    SDL_Event event;
    while (!displayLost && SDL_PollEvent(&event)) handleEvent(event);
    pads->stepFrame(padCells, input, screenWidth, screenHeight);
    // Each source of a request is noted once; what comes after that is the handler's.
    if (quitSignals->arrived() && !signalNoted) {
        signalNoted = true;
        noteQuitRequest();
    }
    if (displayLost && !displayLossNoted) {
        displayLossNoted = true;
        noteQuitRequest();
    }
}

void SdlMedia::endAtOnce() {
    std::fflush(stderr);
    std::_Exit(0);
}

void SdlMedia::quitBeingHandled() { quitSignals->handling(); }

void SdlMedia::keepQuitSignalsToTheEnd() { quitSignals->keepToTheEnd(); }

void SdlMedia::watchDisplayConnection() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    // When the X server goes (as at a logout) Xlib calls its error handler, which prints and
    // ends the program with exit(1), then the display's exit handler, which does the same.
    // Handlers that return instead leave the display dead (its calls then do nothing) and
    // the program running, to save and end. The Xlib that SDL loaded is asked for by name;
    // one older than 1.7, without exit handlers, is left as it is.
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!xlib) return;
    using ErrorHandler = int (*)(Display*);
    using SetErrorHandler = ErrorHandler (*)(ErrorHandler);
    using ExitHandler = void (*)(Display*, void*);
    using SetExitHandler = void (*)(Display*, ExitHandler, void*);
    const auto setError = reinterpret_cast<SetErrorHandler>(dlsym(xlib, "XSetIOErrorHandler"));
    const auto setExit = reinterpret_cast<SetExitHandler>(dlsym(xlib, "XSetIOErrorExitHandler"));
    if (setError && setExit) {
        setExit(
            info.info.x11.display, [](Display*, void* lost) { *static_cast<bool*>(lost) = true; }, &displayLost);
        setError([](Display*) {
            static const char message[] = "lost the connection to the display\n";
            (void)!write(STDERR_FILENO, message, sizeof message - 1);
            return 0;
        });
    }
    dlclose(xlib);
}

void SdlMedia::handleEvent(const SDL_Event& event) {
    if (pads->handleEvent(event, input)) return;
    switch (event.type) {
        case SDL_KEYDOWN:
            if (event.key.repeat) break;
            if (event.key.keysym.sym == SDLK_RETURN && (event.key.keysym.mod & KMOD_ALT)) {
                toggleFullScreen();  // the window's own key: the game never sees it
                break;
            }
            if (const auto key = gameKey(event.key.keysym.sym)) input.keyPressed(*key);
            break;
        case SDL_KEYUP:
            if (const auto key = gameKey(event.key.keysym.sym)) input.keyReleased(*key);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (const auto button = gameButton(event.button.button)) input.mousePressed(*button);
            break;
        case SDL_MOUSEBUTTONUP:
            if (const auto button = gameButton(event.button.button)) input.mouseReleased(*button);
            break;
        // The window's close button, and on some systems a lost display.
        case SDL_QUIT: noteQuitRequest(); break;
        case SDL_MOUSEMOTION: {
            // In the letterbox bars the pointer falls outside the screen.
            const PointInWindow point = toScreen(viewport, event.motion.x, event.motion.y);
            input.pointerMoved(std::clamp(point.x, 0, screenWidth - 1), std::clamp(point.y, 0, screenHeight - 1));
            break;
        }
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
                event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                input.focusChanged();  // SDL releases keys but not mouse buttons
                pads->letGo(input);    // nor a pad's buttons
            }
            if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) viewportChanged = true;
            break;
        default: break;
    }
}

void SdlMedia::toggleFullScreen() {
    fullScreen = !fullScreen;
    const SDL_Rect area = windowArea(fullScreen);
    if (fullScreen) {
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowResizable(window, SDL_TRUE);
    }
    // Without a window manager the window keeps its size and place unless told.
    SDL_SetWindowSize(window, area.w, area.h);
    SDL_SetWindowPosition(window, area.x, area.y);
    viewportChanged = true;
}
