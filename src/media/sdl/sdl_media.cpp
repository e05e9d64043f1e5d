#include "media/sdl/sdl_media.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <thread>
#include <utility>

#include "media/draw/cpu_canvas.h"
#include "media/draw/quad_geometry.h"
#include "media/draw/sdl_quad_batch.h"
#include "media/draw/sdl_texture_atlas.h"
#include "media/sound/sdl_audio.h"

namespace {

// Moves one corner of a turned quad by a thousandth of a pixel: invisible, yet enough
// that the software renderer cannot mistake the quad for an axis-aligned copy.
constexpr float KeepQuadNudge = 0.001f;

// The game's own key numbers for the keys it knows; letters and digits keep their ASCII codes.
int gameKeyCode(SDL_Keycode key) {
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return 13;
        case SDLK_ESCAPE: return 27;
        case SDLK_SPACE: return 32;
        default: break;
    }
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<int>(key);
    return -1;
}

int gameButton(Uint8 button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return 1;
        case SDL_BUTTON_RIGHT: return 2;
        case SDL_BUTTON_MIDDLE: return 3;
        default: return -1;
    }
}

SDL_BlendMode sdlBlend(BlendMode mode) {
    switch (mode) {
        case BlendMode::Solid: return SDL_BLENDMODE_NONE;
        case BlendMode::Light: return SDL_BLENDMODE_ADD;
        case BlendMode::Shade: return SDL_BLENDMODE_MOD;
        case BlendMode::Mask:  // drawn from the snapped copy: opaque or nothing
        case BlendMode::Alpha: return SDL_BLENDMODE_BLEND;
    }
    return SDL_BLENDMODE_BLEND;
}

// The rectangle (left, top)-(right, bottom) relative to (x, y), turned and scaled by
// the draw matrix, in the draw colour, over the given part of the texture.
void transformedQuad(SDL_Vertex (&quad)[4], const DrawState& draw, float x, float y, float left, float top, float right,
                     float bottom, int alpha, const TextureCorners& uv) {
    const SDL_Color colour{static_cast<Uint8>(clampChannel(draw.colour.r)),
                           static_cast<Uint8>(clampChannel(draw.colour.g)),
                           static_cast<Uint8>(clampChannel(draw.colour.b)), static_cast<Uint8>(alpha)};
    const float corners[4][4] = {{left, top, uv.u0, uv.v0},
                                 {right, top, uv.u1, uv.v0},
                                 {left, bottom, uv.u0, uv.v1},
                                 {right, bottom, uv.u1, uv.v1}};
    for (int i = 0; i < 4; ++i) {
        const float px = corners[i][0], py = corners[i][1];
        quad[i].position = SDL_FPoint{x + px * draw.ix + py * draw.iy, y + px * draw.jx + py * draw.jy};
        quad[i].color = colour;
        quad[i].tex_coord = SDL_FPoint{corners[i][2], corners[i][3]};
    }
}

int64_t microsecondsNow() {
    static const double ticksPerMicro = static_cast<double>(SDL_GetPerformanceFrequency()) / 1e6;
    return static_cast<int64_t>(static_cast<double>(SDL_GetPerformanceCounter()) / ticksPerMicro);
}

// The software renderer by its index: a renderer named in SDL's hint would win otherwise.
int softwareDriverIndex() {
    for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
        SDL_RendererInfo info;
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && std::string_view(info.name) == "software") return i;
    }
    return -1;
}

void sleepMicroseconds(int64_t micros) { std::this_thread::sleep_for(std::chrono::microseconds(micros)); }

}  // namespace

SdlMedia::SdlMedia(DrawPath path)
    : audio(std::make_unique<SdlAudio>(mixer)), drawPath(path), pacer(microsecondsNow, sleepMicroseconds) {
    resetDrawState();
}

SdlMedia::~SdlMedia() {
    audio.reset();
    batch.reset();
    if (canvasTexture) SDL_DestroyTexture(canvasTexture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    SDL_Quit();
}

bool SdlMedia::openScreen(int width, int height, int depth, int refreshHz, int) {
    using Clock = std::chrono::steady_clock;
    opening.begun = Clock::now();
    // Ctrl+C and a logout's SIGTERM end the program as usual instead of becoming
    // window events that the game does not handle.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) return reportScreenFailure();
    opening.videoReady = Clock::now();
    screenWidth = width;
    screenHeight = height;
    fullScreen = depth != 0;
    const Uint32 windowFlags = fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
    // Without a graphics card the frames are composed and OpenGL is never loaded. Otherwise an
    // OpenGL window from the start: SDL's OpenGL renderer would make the window again, and the
    // drawing path is chosen by asking OpenGL first. Without OpenGL, a plain one.
    const bool composeFromTheStart =
        drawPath == DrawPath::Composer || (drawPath == DrawPath::Automatic && !graphicsCardPresent());
    if (!composeFromTheStart)
        window = SDL_CreateWindow("Cablewright", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                  windowFlags | SDL_WINDOW_OPENGL);
    if (!window)
        window =
            SDL_CreateWindow("Cablewright", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, windowFlags);
    if (!window) return reportScreenFailure();
    opening.windowReady = Clock::now();
    if (!openRenderer(composeFromTheStart)) return reportScreenFailure();
    batch = std::make_unique<QuadBatch>(renderer);
    SDL_RendererInfo info;
    softwareRenderer = SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    SDL_RenderSetLogicalSize(renderer, width, height);
    opening.rendererReady = Clock::now();
    resetDrawState();
    for (int i = 0; i < 2; ++i) {
        clearScreen();
        SDL_RenderPresent(renderer);
    }
    opening.cleared = Clock::now();
    if (!audio->open()) warning("no sound: " + audio->failure());  // the game runs silently
    opening.audioReady = Clock::now();
    runRefreshProbe(depth, refreshHz);
    movePointer(width / 2, height / 2);
    opening.probeDone = Clock::now();
    return true;
}

bool SdlMedia::openRenderer(bool composeFromTheStart) {
    // Asking a bare OpenGL context for its rasteriser takes milliseconds; making SDL's OpenGL
    // renderer on a software rasteriser takes half a second of shader building, all thrown
    // away when the frames are composed instead.
    if (composeFromTheStart || (drawPath == DrawPath::Automatic && openGlDrawsInSoftware())) return startComposing();
    // Ask for no renderer by name: naming one turns the batching off.
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) return false;
    return drawPath == DrawPath::Renderer || !rendererDrawsInSoftware() || startComposing();
}

bool SdlMedia::openGlDrawsInSoftware() {
    if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL)) return false;
    const SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) return false;
    const bool software = currentOpenGlDrawsInSoftware();
    SDL_GL_MakeCurrent(window, nullptr);
    SDL_GL_DeleteContext(context);
    return software;
}

bool SdlMedia::rendererDrawsInSoftware() {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0) return false;
    if (info.flags & SDL_RENDERER_SOFTWARE) return true;
    // The renderer's context is the current one.
    return std::string_view(info.name).substr(0, 6) == "opengl" && SDL_GL_GetCurrentContext() &&
           currentOpenGlDrawsInSoftware();
}

bool SdlMedia::currentOpenGlDrawsInSoftware() {
    // Mesa without a driver for the card draws OpenGL on the CPU too, and more slowly than
    // composing the frame ourselves.
    using GetString = const unsigned char* (*)(unsigned int);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    constexpr unsigned int GlRenderer = 0x1F01;
    const unsigned char* name = getString ? getString(GlRenderer) : nullptr;
    return name && isSoftwareRasteriser(reinterpret_cast<const char*>(name));
}

bool SdlMedia::startComposing() {
    // The composed frame is one copy to the window: the software renderer does that best,
    // straight to the window system (SDL would otherwise show its window through OpenGL).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (renderer) SDL_DestroyRenderer(renderer);
    renderer = SDL_CreateRenderer(window, softwareDriverIndex(), SDL_RENDERER_SOFTWARE);
    if (!renderer) return false;
    // 0x00RRGGBB words, as the canvas keeps them.
    canvasTexture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, screenWidth, screenHeight);
    if (!canvasTexture) return false;
    canvas = std::make_unique<CpuCanvas>(screenWidth, screenHeight);
    return true;
}

void SdlMedia::showComposedFrame() {
    SDL_UpdateTexture(canvasTexture, nullptr, canvas->pixels(), screenWidth * 4);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);  // the bars around a letterboxed screen
    SDL_RenderCopy(renderer, canvasTexture, nullptr, nullptr);
    const CpuCanvas::Counts counts = canvas->takeCounts();
    frameStats = DrawStats{counts.quads, counts.composites + 1};
}

std::string SdlMedia::rendererName() const {
    SDL_RendererInfo info;
    return renderer && SDL_GetRendererInfo(renderer, &info) == 0 ? info.name : "";
}

bool SdlMedia::reportScreenFailure() {
    std::fprintf(stderr, "%s\n", SDL_GetError());
    return false;
}

void SdlMedia::runRefreshProbe(int depth, int refreshHz) {
    bool timerPacing = refreshHz != 0;
    // A composed frame goes out through the software renderer, which has no vertical blank to
    // wait for (at most SDL imitates one with a sleep): the timer schedule paces it, and the
    // probe's 50 ms stay out of the start-up.
    if (refreshHz != 0 && depth != 0 && !canvas) {
        // Trust vsync only when presents really come 1000/hz ms apart.
        SDL_RenderSetVSync(renderer, 1);
        const Uint32 begin = SDL_GetTicks();
        int goodFrames = 0;
        while (SDL_GetTicks() - begin < 1000) {
            const Uint32 t0 = SDL_GetTicks();
            SDL_RenderPresent(renderer);
            const int d = static_cast<int>(SDL_GetTicks() - t0) - 1000 / refreshHz;
            goodFrames = (d >= -1 && d <= 1) ? goodFrames + 1 : 0;
            if (goodFrames == 3) {
                timerPacing = false;
                break;
            }
        }
    }
    if (timerPacing) SDL_RenderSetVSync(renderer, 0);
    pacer.start(refreshHz, timerPacing);
}

void SdlMedia::presentFrame() {
    if (canvas) {
        showComposedFrame();
    } else {
        batch->flush();
        frameStats.drawCalls = batch->takeDrawCalls();
    }
    shownStats = std::exchange(frameStats, DrawStats{});
    pacer.beforePresent();
    SDL_RenderPresent(renderer);
    pacer.afterPresent();
}

void SdlMedia::clearScreen() {
    if (canvas) return canvas->clear();
    batch->flush();
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
}

void SdlMedia::drawImage(const Image& image, float x, float y, int frame) {
    if (canvas) return canvas->drawImage(image, x, y, frame, draw);
    if (frame < 0 || frame >= static_cast<int>(image.frames.size())) return;
    // Quads that cannot show cost nothing: half the falling lights have scale 0, and the
    // credits draw every line wherever it has scrolled to.
    if (!quadCanShow(draw)) return;
    const float left = -image.handleX, top = -image.handleY;
    const float right = left + static_cast<float>(image.width), bottom = top + static_cast<float>(image.height);
    if (pixelBox(placeQuad(draw, x, y, left, top, right, bottom), screenWidth, screenHeight).empty()) return;
    const bool masked = draw.blend == BlendMode::Mask;
    const bool wholePixels = onWholePixels(draw, x + left, y + top);
    const AtlasPlace place = atlasPlace(renderer, image, frame, masked, wholePixels);
    if (!place.texture) return;
    // A clear margin costs a blended pixel each and changes none: the quad keeps to the ink
    // (a cable tile inks two thirds of its square, a letter less).
    InkBox drawn{0, 0, image.width, image.height};
    if (clearPixelsLeaveScreenAlone(draw.blend)) {
        drawn = sampledInk(place.ink, wholePixels, image.width, image.height);
        if (drawn.empty()) return;
    }

    SDL_Vertex quad[4];
    transformedQuad(quad, draw, x, y, left + static_cast<float>(drawn.x0), top + static_cast<float>(drawn.y0),
                    left + static_cast<float>(drawn.x1), top + static_cast<float>(drawn.y1), drawAlphaByte(draw),
                    frameCorners(place, drawn));
    // The software renderer turns any axis-aligned quad into a plain copy and
    // loses a quarter turn or a mirror on the way; a nudge far below a pixel keeps it
    // a quad (guarded by RotatedCentredPictureTurnsAboutItsHandle in sdl_render_test).
    const bool turned = draw.ix <= 0 || draw.jy <= 0 || draw.iy != 0 || draw.jx != 0;
    if (softwareRenderer && turned) quad[3].position.x += KeepQuadNudge;
    // An opaque picture drawn whole and at full strength covers what is under it: blending
    // would read every pixel beneath only to weigh it by nothing.
    const bool covers = draw.blend == BlendMode::Alpha && place.ink.opaque && drawAlphaByte(draw) == 255;
    batch->add(place.texture, covers ? SDL_BLENDMODE_NONE : sdlBlend(draw.blend), quad);
    frameStats.quads += 1;
}

void SdlMedia::drawRect(float x, float y, float width, float height) {
    if (canvas) return canvas->drawRect(x, y, width, height, draw);
    const int alpha = draw.blend == BlendMode::Mask ? 255 : alphaByte(draw.alpha);
    SDL_Vertex quad[4];
    transformedQuad(quad, draw, x, y, 0, 0, width, height, alpha, TextureCorners{});
    batch->add(nullptr, sdlBlend(draw.blend), quad);
    frameStats.quads += 1;
}

void SdlMedia::movePointer(int x, int y) {
    input.pointerMoved(x, y);
    if (!window || !renderer) return;
    int windowX = 0, windowY = 0;
    SDL_RenderLogicalToWindow(renderer, static_cast<float>(x), static_cast<float>(y), &windowX, &windowY);
    SDL_WarpMouseInWindow(window, windowX, windowY);
}

void SdlMedia::hidePointer() { SDL_ShowCursor(SDL_DISABLE); }

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
    while (SDL_PollEvent(&event)) handleEvent(event);
}

void SdlMedia::handleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
            if (event.key.repeat) break;
            if (event.key.keysym.sym == SDLK_RETURN && (event.key.keysym.mod & KMOD_ALT)) {
                toggleFullScreen();  // the window's own key: the game never sees it
                break;
            }
            input.keyPressed(gameKeyCode(event.key.keysym.sym));
            break;
        case SDL_KEYUP: input.keyReleased(gameKeyCode(event.key.keysym.sym)); break;
        case SDL_MOUSEBUTTONDOWN: input.mousePressed(gameButton(event.button.button)); break;
        case SDL_MOUSEBUTTONUP: input.mouseReleased(gameButton(event.button.button)); break;
        case SDL_MOUSEMOTION:
            // Logical pixels; in the letterbox bars they can fall outside the screen.
            input.pointerMoved(std::clamp(event.motion.x, 0, screenWidth - 1),
                               std::clamp(event.motion.y, 0, screenHeight - 1));
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST || event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
                input.focusChanged();  // SDL releases keys but not mouse buttons
            break;
        default: break;
    }
}

void SdlMedia::toggleFullScreen() {
    fullScreen = !fullScreen;
    if (fullScreen) {
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowSize(window, screenWidth, screenHeight);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}

PixelBlock SdlMedia::readScreen() {
    if (canvas) return canvas->read();
    batch->flush();
    PixelBlock block;
    block.width = screenWidth;
    block.height = screenHeight;
    block.rgba.resize(static_cast<size_t>(screenWidth) * screenHeight * 4);
    SDL_Rect area{0, 0, screenWidth, screenHeight};
    SDL_RenderReadPixels(renderer, &area, SDL_PIXELFORMAT_ABGR8888, block.rgba.data(), screenWidth * 4);
    return block;
}
