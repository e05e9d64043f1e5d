#include "media/draw/sdl_renderer_path.h"

#include <SDL.h>

#include <utility>

#include "media/draw/quad_geometry.h"

namespace {

// Moves one corner of a turned quad by a thousandth of a pixel: invisible, yet enough
// that the software renderer cannot mistake the quad for an axis-aligned copy.
constexpr float KeepQuadNudge = 0.001f;

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
// the draw matrix, in the draw colour, over the given part of the texture; in the window's
// pixels.
void transformedQuad(SDL_Vertex (&quad)[4], const Viewport& viewport, const DrawState& draw, float x, float y,
                     float left, float top, float right, float bottom, int alpha, const TextureCorners& uv) {
    const SDL_Color colour{static_cast<Uint8>(clampChannel(draw.colour.r)),
                           static_cast<Uint8>(clampChannel(draw.colour.g)),
                           static_cast<Uint8>(clampChannel(draw.colour.b)), static_cast<Uint8>(alpha)};
    const float corners[4][4] = {{left, top, uv.u0, uv.v0},
                                 {right, top, uv.u1, uv.v0},
                                 {left, bottom, uv.u0, uv.v1},
                                 {right, bottom, uv.u1, uv.v1}};
    for (int i = 0; i < 4; ++i) {
        const float px = corners[i][0], py = corners[i][1];
        const float screenX = x + px * draw.ix + py * draw.iy, screenY = y + px * draw.jx + py * draw.jy;
        quad[i].position = SDL_FPoint{static_cast<float>(viewport.x) + screenX * viewport.scale,
                                      static_cast<float>(viewport.y) + screenY * viewport.scale};
        quad[i].color = colour;
        quad[i].tex_coord = SDL_FPoint{corners[i][2], corners[i][3]};
    }
}

}  // namespace

SdlRendererPath::SdlRendererPath(SDL_Renderer* renderer, int screenWidth, int screenHeight)
    : renderer(renderer),
      screenWidth(screenWidth),
      screenHeight(screenHeight),
      atlas(std::make_unique<TextureAtlas>(renderer)),
      batch(std::make_unique<QuadBatch>(renderer)) {
    SDL_RendererInfo info;
    softwareRenderer = SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    int width = screenWidth, height = screenHeight;
    SDL_GetRendererOutputSize(renderer, &width, &height);
    viewport = fitScreen(screenWidth, screenHeight, width, height);
}

SdlRendererPath::~SdlRendererPath() {
    batch.reset();
    atlas.reset();
    SDL_DestroyRenderer(renderer);
}

void SdlRendererPath::clear() {
    batch->flush();
    atlas->releaseRetired();
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
}

void SdlRendererPath::drawImage(const Image& image, float x, float y, int frame, const DrawState& draw) {
    if (frame < 0 || frame >= image.frameCount()) return;
    // Quads that cannot show cost nothing: half the falling lights have scale 0, and the
    // credits draw every line wherever it has scrolled to.
    if (!quadCanShow(draw)) return;
    float left = -image.handleX, top = -image.handleY;
    if (untransformed(draw)) {
        // One texel to a pixel from the first pixel the quad covers: sampled at texel centres,
        // never between two texels, where the rasteriser and the sampler settle a tie each
        // its own way (and smooth sampling would blur a picture drawn half a pixel off).
        x = static_cast<float>(firstColumn(x + left)), y = static_cast<float>(firstRow(y + top));
        left = 0, top = 0;
    }
    const float right = left + static_cast<float>(image.width), bottom = top + static_cast<float>(image.height);
    if (pixelBox(placeQuad(draw, x, y, left, top, right, bottom), screenWidth, screenHeight).empty()) return;
    const bool masked = draw.blend == BlendMode::Mask;
    // Texel to pixel, one to one: whole logical pixels, at the scale of the picture's set.
    const bool wholePixels =
        onWholePixels(draw, x + left, y + top) && viewport.scale == static_cast<float>(image.pixelScale);
    const AtlasPlace place = atlas->place(image, frame, masked, wholePixels);
    if (!place.texture) return;
    // A clear margin costs a blended pixel each and changes none: the quad keeps to the ink
    // (a cable tile inks two thirds of its square, a letter less).
    const int texelsPerPixel = image.pixelScale;
    InkBox drawn{0, 0, image.width * texelsPerPixel, image.height * texelsPerPixel};
    if (clearPixelsLeaveScreenAlone(draw.blend)) {
        drawn = sampledInk(place.ink, wholePixels, drawn.x1, drawn.y1);
        if (drawn.empty()) return;
    }

    const float logical = 1.0f / static_cast<float>(texelsPerPixel);  // a texel's side in logical pixels
    SDL_Vertex quad[4];
    transformedQuad(quad, viewport, draw, x, y, left + static_cast<float>(drawn.x0) * logical,
                    top + static_cast<float>(drawn.y0) * logical, left + static_cast<float>(drawn.x1) * logical,
                    top + static_cast<float>(drawn.y1) * logical, drawAlphaByte(draw), frameCorners(place, drawn));
    // The software renderer turns any axis-aligned quad into a plain copy and
    // loses a quarter turn or a mirror on the way; a nudge far below a pixel keeps it
    // a quad (guarded by RotatedCentredPictureTurnsAboutItsHandle in sdl_render_test).
    const bool turned = draw.ix <= 0 || draw.jy <= 0 || draw.iy != 0 || draw.jx != 0;
    if (softwareRenderer && turned) quad[3].position.x += KeepQuadNudge;
    // An opaque picture drawn whole and at full strength covers what is under it: blending
    // would read every pixel beneath only to weigh it by nothing.
    const bool covers = draw.blend == BlendMode::Alpha && place.ink.opaque && drawAlphaByte(draw) == 255;
    batch->add(place.texture, covers ? SDL_BLENDMODE_NONE : sdlBlend(draw.blend), quad);
    stats.quads += 1;
}

void SdlRendererPath::drawRect(float x, float y, float width, float height, const DrawState& draw) {
    const int alpha = draw.blend == BlendMode::Mask ? 255 : alphaByte(draw.alpha);
    SDL_Vertex quad[4];
    transformedQuad(quad, viewport, draw, x, y, 0, 0, width, height, alpha, TextureCorners{});
    batch->add(nullptr, sdlBlend(draw.blend), quad);
    stats.quads += 1;
}

PixelBlock SdlRendererPath::readFrame() {
    batch->flush();
    PixelBlock block;
    block.width = viewport.width;
    block.height = viewport.height;
    block.rgba.resize(static_cast<size_t>(block.width) * block.height * 4);
    SDL_Rect area{viewport.x, viewport.y, viewport.width, viewport.height};
    SDL_RenderReadPixels(renderer, &area, SDL_PIXELFORMAT_ABGR8888, block.rgba.data(), block.width * 4);
    return block;
}

void SdlRendererPath::finishFrame() {
    batch->flush();
    atlas->releaseRetired();
    stats.drawCalls += batch->takeDrawCalls();
}

void SdlRendererPath::present() { SDL_RenderPresent(renderer); }

bool SdlRendererPath::refreshPacesPresents(int refreshHz) {
    // Trust vsync only when presents really come 1000/hz ms apart (Xvfb and the dummy
    // driver imitate a refresh at another rate).
    SDL_RenderSetVSync(renderer, 1);
    const Uint32 begin = SDL_GetTicks();
    int goodFrames = 0;
    while (SDL_GetTicks() - begin < 1000) {
        const Uint32 t0 = SDL_GetTicks();
        SDL_RenderPresent(renderer);
        const int d = static_cast<int>(SDL_GetTicks() - t0) - 1000 / refreshHz;
        goodFrames = (d >= -1 && d <= 1) ? goodFrames + 1 : 0;
        if (goodFrames == 3) return true;
    }
    SDL_RenderSetVSync(renderer, 0);
    return false;
}

DrawStats SdlRendererPath::takeStats() { return std::exchange(stats, DrawStats{}); }

std::string SdlRendererPath::rendererName() const {
    SDL_RendererInfo info;
    return SDL_GetRendererInfo(renderer, &info) == 0 ? info.name : "";
}
