#pragma once
// The frame composed in memory by the CPU (pixman), for machines whose graphics would draw
// in software anyway: 32-bit pixels that the backend shows once per frame. Draws like SDL's
// renderer: the same quads, blend modes, colour, alpha, scale and rotation, at any number of
// pixels per logical pixel. A frame's draws are recorded as they come and composed together
// when the frame is finished, in horizontal bands on as many threads.

#include <cstdint>
#include <memory>
#include <vector>

#include "media/draw/cpu/band_workers.h"
#include "media/draw/cpu/cpu_band.h"
#include "media/draw/cpu/cpu_draw_list.h"
#include "media/draw/cpu/cpu_pictures_ahead.h"
#include "media/draw/cpu/cpu_scale.h"
#include "media/draw/picture_cache.h"
#include "media/pictures/image.h"

class CpuCanvas {
public:
    // A frame of width x height pixels showing the logical screen at `scale` pixels per
    // logical pixel, composed in `bands` bands at once.
    CpuCanvas(int width, int height, float scale = 1.0f, int bands = 1);
    ~CpuCanvas();
    CpuCanvas(const CpuCanvas&) = delete;
    CpuCanvas& operator=(const CpuCanvas&) = delete;

    // Black everywhere.
    void clear();
    void drawImage(const Image& image, float x, float y, int frame, const DrawState& draw);
    void drawRect(float x, float y, float width, float height, const DrawState& draw);
    // Composes what was drawn since the last time.
    void compose();
    // Where large pictures may have been prepared ahead of their first draw (nullptr: nowhere).
    void takePicturesFrom(CpuPicturesAhead* prepared) { ahead = prepared; }

    // Composes into rows of someone else's memory from now on (a window's own pixels),
    // `stride` words apart; nullptr goes back to the canvas's own.
    void composeInto(uint32_t* pixels, int stride);
    // Rows of 0x00RRGGBB from the top, `stride()` words apart (after compose).
    const uint32_t* pixels();
    int stride() const { return target.stride; }
    int width() const { return target.width; }
    int height() const { return target.height; }
    float scale() const { return target.scale; }
    // The composed frame scaled smoothly onto width x height pixels of other memory (a
    // window's), `stride` words apart, band by band.
    void stretchInto(uint32_t* pixels, int stride, int width, int height);
    // The frame as bytes R, G, B, A (tests); composes first.
    PixelBlock read();

    // Quads drawn and compositing calls made since the previous call of this; composes first.
    using Counts = CpuCounts;
    Counts takeCounts();
    // CPU time the bands took since the last call (composing and stretching), per band: what
    // the frames cost where every band has a core of its own, whatever the threads waited.
    double takeComposingCpuMs() { return workers.takeCpuMs() / workers.bands(); }
    // Bytes of the pictures' frames prepared for the canvas that it holds.
    size_t pictureBytesHeld() const;

private:
    // The canvas's own pixels, made the first time they are needed when it has no others.
    void ensureTarget();
    void startFrame();
    void makeBands();
    static void composeBand(void* canvas, int band);
    static void stretchBand(void* canvas, int band);
    void releaseStretch();

    std::vector<uint32_t> own;  // empty while composing into a window's pixels
    CpuTarget target;
    BandWorkers workers;
    std::vector<std::unique_ptr<CpuBand>> bands;
    std::vector<CpuDraw> draws;  // since the last compose
    Counts counts;
    PictureCache<CpuPictures> pictures;  // what each picture drawn became
    CpuPicturesAhead* ahead = nullptr;
    SparePixels spares;  // of the screen just left, for a few frames
    // The frame as the source of a stretch and the memory it goes to, one pair per band (a
    // source carries its transform); made again when the memory changes.
    std::vector<pixman_image_t*> stretchSources, stretchTargets;
    std::vector<SmoothScaler> stretchScalers;  // one per band
    UprightMapping stretchMapping;
    const uint32_t* stretchedTo = nullptr;
    int stretchHeight = 0;
};
