#pragma once
// The frame composed in memory by the CPU (pixman), for machines whose graphics would draw
// in software anyway: one 32-bit picture of the screen that the backend shows once per frame.
// Draws like SDL's renderer: the same quads, blend modes, colour, alpha, scale and rotation.

#include <pixman.h>

#include <array>
#include <cstdint>
#include <vector>

#include "media/draw/cpu_pictures.h"
#include "media/draw/draw_state.h"
#include "media/draw/picture_cache.h"
#include "media/draw/quad_geometry.h"
#include "media/pictures/image.h"

// The ways a quad goes through the compositor: first where and how it is placed, then how
// it is blended. Every quad drawn takes one of each; the counts show which shortcuts a frame
// took.
enum class CpuRoute {
    Upright,      // a picture drawn as it is, from the nearest pixel
    Resampled,    // scaled or mirrored: resampled upright first
    Turned,       // resampled and cut to its outline
    RectUpright,  // a filled box
    RectTurned,   // a scaled or turned rectangle: a white pixel resampled and cut
    Copy,         // opaque and white at full alpha: a plain copy
    Over,         // white at full alpha (or masked, or solid): blended over as it is
    Faded,        // white at part alpha: over through the alpha
    Shadow,       // black alpha blending: the picture's shadow look through the alpha
    Blackened,    // a black rectangle: darkens what is under it
    Tinted,       // any other colour: through the scratch picture
    Added,        // additive, white at full alpha
    AddedTinted,  // additive through colour times alpha
    Multiplied,   // shade (multiply), white
    MultipliedTinted,
    Count
};

class CpuCanvas {
public:
    CpuCanvas(int width, int height);
    ~CpuCanvas();
    CpuCanvas(const CpuCanvas&) = delete;
    CpuCanvas& operator=(const CpuCanvas&) = delete;

    // Black everywhere.
    void clear();
    void drawImage(const Image& image, float x, float y, int frame, const DrawState& draw);
    void drawRect(float x, float y, float width, float height, const DrawState& draw);

    // Rows of 0x00RRGGBB from the top, `width` pixels each.
    const uint32_t* pixels() const { return screen.data(); }
    int width() const { return screenWidth; }
    int height() const { return screenHeight; }
    // The screen as bytes R, G, B, A (tests).
    PixelBlock read() const;

    // Quads drawn and compositing calls made since the previous call of this.
    struct Counts {
        int quads = 0, composites = 0;
        std::array<int, static_cast<int>(CpuRoute::Count)> routes{};
        int of(CpuRoute route) const { return routes[static_cast<int>(route)]; }
    };
    Counts takeCounts();

private:
    // A picture placed on the screen: the pixels it may touch, and where its source starts.
    struct Placed {
        pixman_image_t* source = nullptr;
        PixelBox box;
        int sourceX = 0, sourceY = 0;
        bool copyable = false;   // untransformed and opaque: blending it over is a plain copy
        bool blackened = false;  // the picture's shadow look: black with its alpha
    };
    bool placePicture(const Image& image, int frame, FrameLook look, float x, float y, const DrawState& draw,
                      Placed& placed);
    bool placeRect(float x, float y, float width, float height, const DrawState& draw, Placed& placed);
    // Samples a transformed source into the resampled picture and places that instead.
    void resample(Placed& placed);
    // Clears the resampled pixels of a turned quad's box that lie outside its outline.
    void cutToOutline(const Quad& quad, const PixelBox& box);
    void blend(const Placed& placed, const DrawState& draw);
    void composite(CpuRoute route, pixman_op_t op, pixman_image_t* source, pixman_image_t* mask, const Placed& placed,
                   pixman_image_t* target = nullptr);
    // Source times colour and alpha into the scratch picture, then blended onto the screen.
    void compositeTinted(pixman_op_t op, const Placed& placed, const Colour& colour, int alpha);
    void took(CpuRoute route) { counts.routes[static_cast<int>(route)] += 1; }

    int screenWidth, screenHeight;
    std::vector<uint32_t> screen;
    std::vector<uint32_t> resampledPixels, scratchPixels;
    // The screen with its fourth byte as alpha (pixman's fast paths want it) and, over the same
    // pixels, without (blend modes that read the screen's alpha must take the screen as opaque).
    pixman_image_t* screenImage;
    pixman_image_t* opaqueScreen;
    // Turned or scaled pictures are first resampled here, upright: pixman blends upright
    // pictures with an alpha or colour far faster than transformed ones.
    pixman_image_t* resampled;
    pixman_image_t* scratch;  // one screen of premultiplied pixels for tinted drawing
    uint32_t colourMaskPixel = 0, alphaMaskPixel = 0, whitePixel = 0xFFFFFFFF;
    pixman_image_t* colourMask;    // 1 x 1, repeated: colour times alpha, per channel
    pixman_image_t* alphaMask;     // 1 x 1, repeated: alpha
    pixman_image_t* whiteFill;     // 1 x 1, repeated: upright rectangles
    pixman_image_t* whitePicture;  // 1 x 1: turned rectangles are a white picture stretched
    Counts counts;
    PictureCache<CpuPictures> pictures;  // what each picture drawn became
};
