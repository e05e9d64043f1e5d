#pragma once
// Every frame of a picture in one texture, so runs of different frames (tiles,
// letters) draw in a single batch. Each frame keeps a one-pixel border copied
// from its own edge, so smooth sampling never bleeds into the next frame.

#include "media/draw/picture_cache.h"
#include "media/draw/quad_geometry.h"
#include "media/pictures/image.h"

struct SDL_Renderer;
struct SDL_Texture;

struct AtlasPlace {
    SDL_Texture* texture = nullptr;
    InkBox ink;             // the frame's inked part, found once per picture
    int left = 0, top = 0;  // the frame's corner in the texture's pixels
    int textureWidth = 1, textureHeight = 1;
};

// Corners of a drawn part of a texture, in texture coordinates.
struct TextureCorners {
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
};

struct SdlAtlas;

// The textures of every picture drawn on one renderer; freed with the atlas, which must go
// before its renderer.
class TextureAtlas {
public:
    explicit TextureAtlas(SDL_Renderer* renderer);
    ~TextureAtlas();
    TextureAtlas(const TextureAtlas&) = delete;
    TextureAtlas& operator=(const TextureAtlas&) = delete;

    // The frame's texture and place, made the first time the picture is drawn. The mask
    // mode uses a copy whose alpha is snapped to 0 or 255; `nearest` a copy sampled nearest
    // (for quads that land on whole pixels, where it looks the same and costs less).
    // No texture when it cannot be made.
    AtlasPlace place(const Image& image, int frame, bool masked, bool nearest);
    // Frees the textures of pictures that are gone; call when no waiting draw can use them.
    void releaseRetired();

private:
    SDL_Renderer* renderer;
    PictureCache<SdlAtlas> atlases;
};

// The texture corners of part of the frame (in the frame's pixels).
TextureCorners frameCorners(const AtlasPlace& place, const InkBox& part);
