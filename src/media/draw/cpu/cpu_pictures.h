#pragma once
// A picture's frames as the CPU compositor draws them: premultiplied 32-bit pixels made once
// per look the first time each frame is drawn (a strip of 120 tiles of which a help page
// shows four holds four), resampled once to the scale the frame is composed at
// (averaged down where they shrink) so that upright they are copied, not resampled, every
// frame; and over them pixman images of each band's own (a band sets a transform and a
// filter on the images it draws turned, so none is shared between the threads that compose
// the bands).

#include <pixman.h>

#include <array>
#include <vector>

#include "media/draw/cpu/pixel_runs.h"
#include "media/draw/cpu/spare_pixels.h"
#include "media/draw/quad_geometry.h"
#include "media/pictures/image.h"

// How the frames are prepared for a blend mode.
enum class FrameLook {
    AsLoaded,  // alpha as loaded (alpha and additive blending)
    Snapped,   // alpha snapped to 0 or 255 at 128 (the mask mode)
    Opaque,    // alpha 255 everywhere (solid and multiply)
    Shadow,    // black with the alpha as loaded (black alpha blending: only darkens)
};

// A frame prepared for a look: premultiplied pixels of its size at the frame's scale (alpha
// bytes packed into words for a shadow; one pixel repeated for the shadow of an opaque picture).
struct PreparedFrame {
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    bool repeats = false;  // one pixel standing for all
    InkBox ink;
};

struct PixelSize {
    int width, height;
};
// The size of a picture's prepared frames at `frameScale` pixels per logical pixel: its logical
// size times that, rounded (its own pixels where its set is of that scale).
PixelSize preparedSize(const Image& image, float frameScale);
// True when every pixel of every frame of the picture is opaque.
bool pictureIsOpaque(const Image& image);
// Prepares a picture's frame of that look at width x height pixels (the scale's size of it).
// Touches only the picture and what it makes, so it may run on any thread.
PreparedFrame prepareFrame(const Image& image, FrameLook look, int index, int width, int height, bool allOpaque);

// A prepared frame kept packed (pixel_runs.h): its words are those of prepareFrame's.
struct PackedFrame {
    PackedPixels pixels;
    int width = 0, height = 0;
    bool repeats = false;
    InkBox ink;
};
// Prepares it as prepareFrame does, packed a strip of rows at a time, so that a large picture is
// never held whole at the frame's scale (at 3840 x 2160 a background is 25 MB unpacked).
PackedFrame prepareFramePacked(const Image& image, FrameLook look, int index, int width, int height, bool allOpaque);

class CpuPictures {
public:
    // Frames of `frameScale` pixels per logical pixel (its logical size times that, rounded).
    CpuPictures(const Image& image, int bands, float frameScale);
    ~CpuPictures();
    CpuPictures(const CpuPictures&) = delete;
    CpuPictures& operator=(const CpuPictures&) = delete;
    // Makes the frame of that look if it is not made yet. Only ever from the thread that
    // records a frame's draws, before the bands compose it.
    void prepare(const Image& image, FrameLook look, int index);
    // Takes a frame of that look prepared elsewhere (as prepareFrame makes it), if it is not made yet.
    void adopt(FrameLook look, int index, PreparedFrame frame, int frameCount);
    bool made(FrameLook look, int index) const;
    // A prepared frame's pixman image for one band. Turnable ones carry a transform of their
    // own; the others never do (pixman frees a transform set back to none).
    pixman_image_t* frame(int index, FrameLook look, bool turnable, int band) const;
    // The part of a prepared frame with any pixel that is not clear, in its pixels: drawn
    // upright, nothing outside it changes the frame.
    const InkBox& ink(int index, FrameLook look) const { return looks[static_cast<int>(look)].ink[index]; }
    // True when every pixel of the picture is opaque: it can be copied instead of blended.
    bool opaque() const { return allOpaque; }
    // Bytes of pixels held by the prepared frames.
    size_t bytesHeld() const;
    // Hands the prepared frames' pixel memory over, as the picture is let go (nothing draws
    // it any more).
    void giveUpPixels(SparePixels& spares);
    // Pixels of the prepared frames per logical pixel, and their size.
    float pixelScale() const { return scale; }
    int pixelWidth() const { return width; }
    int pixelHeight() const { return height; }

private:
    struct Set {
        std::vector<std::vector<uint32_t>> pixels;
        std::vector<InkBox> ink;  // per frame
        // [band][frame], all over the same pixels
        std::vector<std::vector<pixman_image_t*>> images, turnable;
    };

    int bandCount;
    float scale;
    int width, height;
    std::array<Set, 4> looks;
    bool allOpaque = false;
};
