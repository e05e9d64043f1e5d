#pragma once
// One horizontal band of the CPU compositor's frame: it composes every recorded draw of the
// frame over its own rows and nothing else, a strip of rows at a time, with scratch pictures
// of its own, so the bands of a frame can be composed on separate threads at once.
// Coordinates are logical (the 800 x 600 screen); the band draws them at `scale` pixels per
// logical pixel, taking each picture's frames at their own scale: a frame whose pixels land
// one to one on the band's is copied, any other is resampled (smoothly when its picture is
// filtered).

#include <pixman.h>

#include <array>
#include <cstdint>
#include <vector>

#include "media/draw/cpu/cpu_blend.h"
#include "media/draw/cpu/cpu_draw_list.h"
#include "media/draw/cpu/cpu_scale.h"
#include "media/draw/quad_geometry.h"

// The ways a quad goes through the compositor: first where and how it is placed, then how
// it is blended. Every quad drawn takes one of each; the counts show which shortcuts a frame
// took.
enum class CpuRoute {
    Upright,      // a picture drawn as it is, its pixels one to one on the frame's
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

// Compositing calls made and the routes quads took.
struct CpuCounts {
    int quads = 0, composites = 0;
    int picturesPrepared = 0;     // made ready for the frame's scale (the first draw of each)
    int framesPreparedAhead = 0;  // of those, frames found prepared ahead
    std::array<int, static_cast<int>(CpuRoute::Count)> routes{};
    int of(CpuRoute route) const { return routes[static_cast<int>(route)]; }
    void add(const CpuCounts& other);
};

// Where a band composes: rows of 0x00RRGGBB words, `stride` words apart.
struct CpuTarget {
    uint32_t* pixels = nullptr;
    int stride = 0;
    int width = 0, height = 0;
    float scale = 1.0f;  // target pixels per logical pixel
};

// Pixels a band works in, as many rows of the frame's width as the largest box it was asked
// for so far: most frames never need more than a few tiles' worth.
class CpuScratch {
public:
    CpuScratch() = default;
    ~CpuScratch();
    CpuScratch(const CpuScratch&) = delete;
    CpuScratch& operator=(const CpuScratch&) = delete;
    // The image, grown to `rows` rows of `width` if it had fewer.
    pixman_image_t* atLeast(int width, int rows);
    uint32_t* row(int index, int width) { return &pixels[static_cast<size_t>(index) * width]; }

private:
    std::vector<uint32_t> pixels;
    pixman_image_t* image = nullptr;
    int rows = 0;
};

class CpuBand {
public:
    // Rows top..bottom-1 of the target; the band's number picks its pixman images of each picture.
    CpuBand(const CpuTarget& target, int top, int bottom, int index);
    ~CpuBand();
    CpuBand(const CpuBand&) = delete;
    CpuBand& operator=(const CpuBand&) = delete;

    void compose(const std::vector<CpuDraw>& draws);
    CpuCounts takeCounts();

private:
    // A picture placed on the frame: the pixels it may touch, and where its source starts.
    struct Placed {
        pixman_image_t* source = nullptr;
        PixelBox box;
        int sourceX = 0, sourceY = 0;
        bool copyable = false;       // opaque and not cut: blending it over is a plain copy
        bool blackened = false;      // the picture's shadow look: black with its alpha
        bool scaled = false;         // the source carries a scale, not yet resampled
        bool resampleFirst = false;  // turned: resampled upright into scratch before blending
        bool cut = false;            // and then cut to the quad's outline
        // For a source drawn scaled or turned: frame pixels back to its pixels, and how it is
        // sampled. Set on the source when composed, as other quads share the same source.
        pixman_transform_t transform{};
        pixman_filter_t filter = PIXMAN_FILTER_NEAREST;
        Quad quad;
    };
    // A recorded draw placed on the band, or a clear (no source).
    struct PlacedDraw {
        Placed placed;
        const DrawState* draw = nullptr;
        bool clear = false;
    };
    // Rows of the frame composed together, every quad over them in turn: few enough that
    // they stay in the core's cache from the first quad to the last (a frame composed a whole
    // quad at a time went to memory and back once per layer). Also the most rows of scratch
    // a quad ever needs.
    static constexpr int StripRows = 32;
    // A band of no more than this is composed whole, a quad at a time (an 800 x 600 frame).
    static constexpr size_t CachedBytes = 2 << 20;
    void placeAll(const std::vector<CpuDraw>& draws);
    void composeStrip(int stripTop, int stripBottom);
    // The part of a placed quad in rows y0..y1-1 (inside its box), a strip's rows at a time.
    void composePart(const Placed& placed, const DrawState& draw, int y0, int y1);
    void clearRows(int first, int end);
    // An opaque picture at full strength: blending it is copying it.
    static bool copiesOver(const Placed& placed, const DrawState& draw);
    bool coversRows(const PixelBox& box, int first, int end) const;
    bool placePicture(const CpuDraw& draw, Placed& placed);
    bool placeRect(const CpuDraw& draw, Placed& placed);
    PixelBox clipped(PixelBox box) const;
    // Samples a transformed source into the resampled picture and places that instead.
    void resample(Placed& placed);
    // A turned picture sampled smoothly by our own sampler, inside its outline only: false
    // where pixman must sample it.
    bool resampleTurned(Placed& placed, const Quad& quad);
    // Clears the resampled pixels of a turned quad's box that lie outside its outline.
    void cutToOutline(const Quad& quad, const PixelBox& box);
    void blend(Placed placed, const DrawState& draw);
    void composite(CpuRoute route, pixman_op_t op, pixman_image_t* source, pixman_image_t* mask, const Placed& placed,
                   pixman_image_t* target = nullptr);
    enum class RowBlend { Copy, Over, Add };
    // The placed source's rows blended onto the frame's, by our own row blends where the
    // source is upright pixels of the format asked for, by pixman otherwise.
    void blendRows(CpuRoute route, const Placed& placed, RowBlend how, ChannelScale scale);
    void blendShadow(const Placed& placed, int alpha);
    // The first of the source's pixels the placed quad reads, and the bytes from row to row;
    // nullptr for a repeated pixel or a transformed source.
    const uint8_t* rowsOf(const Placed& placed, pixman_format_code_t format, int& stride) const;
    // Source times the tint into the scratch picture, then blended onto the frame.
    void compositeTinted(CpuRoute route, pixman_op_t op, const Placed& placed, ChannelScale tint);
    void took(CpuRoute route) {
        if (countingRoutes) counts.routes[static_cast<int>(route)] += 1;
    }

    CpuTarget target;
    int top, bottom, index;
    // The frame with its fourth byte as alpha (pixman's fast paths want it) and, over the same
    // pixels, without (blend modes that read the frame's alpha must take it as opaque).
    pixman_image_t* screenImage;
    pixman_image_t* opaqueScreen;
    // Turned or scaled pictures are first resampled here, upright: pixman blends upright
    // pictures with an alpha or colour far faster than transformed ones.
    CpuScratch resampled;
    CpuScratch scratch;  // premultiplied pixels for tinted drawing
    SmoothScaler scaler;
    uint32_t colourMaskPixel = 0, alphaMaskPixel = 0, whitePixel = 0xFFFFFFFF;
    pixman_image_t* colourMask;           // 1 x 1, repeated: colour times alpha, per channel
    pixman_image_t* alphaMask;            // 1 x 1, repeated: alpha
    pixman_image_t* whiteFill;            // 1 x 1, repeated: upright rectangles
    pixman_image_t* whitePicture;         // 1 x 1: turned rectangles are a white pixel stretched
    std::vector<PlacedDraw> placedDraws;  // this frame's, kept for their room
    CpuCounts counts;
    bool countingRoutes = true;  // false for a quad's strips after its first
};
