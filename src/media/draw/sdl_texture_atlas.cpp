#include "media/draw/sdl_texture_atlas.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "media/pictures/picture_file.h"

namespace {

constexpr int Border = 1;
constexpr int MaxAtlasSide = 4096;

struct AtlasLayout {
    int columns = 1, rows = 1;
    int cellWidth = 0, cellHeight = 0;  // frame plus its borders
    int width() const { return columns * cellWidth; }
    int height() const { return rows * cellHeight; }
};

AtlasLayout layoutFor(const Image& image) {
    AtlasLayout layout;
    // In the frames' own pixels, whatever their set's scale.
    const int frameWidth = image.width * image.pixelScale;
    const int frameHeight = image.height * image.pixelScale;
    layout.cellWidth = frameWidth + 2 * Border;
    layout.cellHeight = frameHeight + 2 * Border;
    layout.columns = std::clamp(MaxAtlasSide / std::max(layout.cellWidth, 1), 1, std::max(image.frameCount(), 1));
    layout.rows = (image.frameCount() + layout.columns - 1) / layout.columns;
    return layout;
}

// Copies one frame into its cell, repeating its edge pixels into the border.
void placeFrame(std::vector<uint8_t>& atlas, const AtlasLayout& layout, const PixelBlock& frame, int index,
                bool snapAlpha) {
    const int originX = (index % layout.columns) * layout.cellWidth;
    const int originY = (index / layout.columns) * layout.cellHeight;
    for (int y = 0; y < layout.cellHeight; ++y) {
        const int sourceY = std::clamp(y - Border, 0, frame.height - 1);
        for (int x = 0; x < layout.cellWidth; ++x) {
            const int sourceX = std::clamp(x - Border, 0, frame.width - 1);
            const uint8_t* source = &frame.rgba[(static_cast<size_t>(sourceY) * frame.width + sourceX) * 4];
            uint8_t* target = &atlas[(static_cast<size_t>(originY + y) * layout.width() + originX + x) * 4];
            std::copy(source, source + 4, target);
            if (snapAlpha) target[3] = target[3] >= 128 ? 255 : 0;
        }
    }
}

SDL_Texture* makeAtlasTexture(SDL_Renderer* renderer, const Image& image, const FramePixels& frames,
                              const AtlasLayout& layout, bool snapAlpha, bool nearest) {
    std::vector<uint8_t> pixels(static_cast<size_t>(layout.width()) * layout.height() * 4, 0);
    for (int i = 0; i < frames.count(); ++i) placeFrame(pixels, layout, frames[i], i, snapAlpha);
    // Bytes R, G, B, A in memory are ABGR8888 on a little-endian machine.
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC,
                                             layout.width(), layout.height());
    if (!texture) return nullptr;
    SDL_UpdateTexture(texture, nullptr, pixels.data(), layout.width() * 4);
    const bool filtered = (image.flags & ImageFiltered) != 0 && !nearest;
    SDL_SetTextureScaleMode(texture, filtered ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    return texture;
}

// A pixel edge of the texture as a coordinate, never a hair below it: SDL's software
// renderer draws an upright quad as a copy whose source starts at the coordinate times the
// side, cut to a whole pixel, so 5.9999995 would start a pixel early.
float textureCoordinate(int pixel, int side) {
    return std::nextafter(static_cast<float>(pixel) / static_cast<float>(side), 2.0f);
}

}  // namespace

struct SdlAtlas {
    AtlasLayout layout;
    std::vector<InkBox> ink;           // per frame
    SDL_Texture* textures[2][2] = {};  // [masked][nearest]

    SdlAtlas(const Image& image, const FramePixels& frames) : layout(layoutFor(image)) {
        for (int i = 0; i < frames.count(); ++i) ink.push_back(inkBox(frames[i]));
    }
    ~SdlAtlas() {
        for (auto& pair : textures)
            for (SDL_Texture* texture : pair)
                if (texture) SDL_DestroyTexture(texture);
    }
    SdlAtlas(const SdlAtlas&) = delete;
    SdlAtlas& operator=(const SdlAtlas&) = delete;
};

TextureAtlas::TextureAtlas(SDL_Renderer* renderer) : renderer(renderer) {}

TextureAtlas::~TextureAtlas() = default;

void TextureAtlas::releaseRetired() { atlases.releaseRetired(); }

AtlasPlace TextureAtlas::place(const Image& image, int frame, bool masked, bool nearest) {
    // A picture kept as its file is decoded once for all this draw makes of it.
    std::optional<FramePixels> pixels;
    const auto frames = [&pixels, &image]() -> const FramePixels& {
        if (!pixels) pixels.emplace(image);
        return *pixels;
    };
    SdlAtlas& atlas =
        atlases.of(image, [&frames](const Image& picture) { return std::make_unique<SdlAtlas>(picture, frames()); });
    // An unfiltered picture is sampled nearest anyway: one texture serves both.
    nearest = nearest && (image.flags & ImageFiltered) != 0;
    SDL_Texture*& texture = atlas.textures[masked][nearest];
    if (!texture) texture = makeAtlasTexture(renderer, image, frames(), atlas.layout, masked, nearest);

    const AtlasLayout& layout = atlas.layout;
    AtlasPlace place;
    place.texture = texture;
    place.ink = atlas.ink[frame];
    place.left = (frame % layout.columns) * layout.cellWidth + Border;
    place.top = (frame / layout.columns) * layout.cellHeight + Border;
    place.textureWidth = layout.width();
    place.textureHeight = layout.height();
    return place;
}

TextureCorners frameCorners(const AtlasPlace& place, const InkBox& part) {
    return TextureCorners{textureCoordinate(place.left + part.x0, place.textureWidth),
                          textureCoordinate(place.top + part.y0, place.textureHeight),
                          textureCoordinate(place.left + part.x1, place.textureWidth),
                          textureCoordinate(place.top + part.y1, place.textureHeight)};
}
