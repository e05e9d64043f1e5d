#pragma once
// A picture's frames as the CPU compositor draws them: premultiplied 32-bit pixels,
// one pixman image per frame and look, each made the first time it is drawn.

#include <pixman.h>

#include <array>
#include <vector>

#include "media/pictures/image.h"

// How the frames are prepared for a blend mode.
enum class FrameLook {
    AsLoaded,  // alpha as loaded (alpha and additive blending)
    Snapped,   // alpha snapped to 0 or 255 at 128 (the mask mode)
    Opaque,    // alpha 255 everywhere (solid and multiply)
    Shadow,    // black with the alpha as loaded (black alpha blending: only darkens)
};

class CpuPictures {
public:
    explicit CpuPictures(const Image& image);
    ~CpuPictures();
    CpuPictures(const CpuPictures&) = delete;
    CpuPictures& operator=(const CpuPictures&) = delete;
    // The frame's pixman image in the given look; made on first use. Turnable ones carry a
    // transform of their own; the others never do (pixman frees a transform set back to none).
    pixman_image_t* frame(const Image& image, int index, FrameLook look, bool turnable);
    // True when every pixel of the picture is opaque: it can be copied instead of blended.
    bool opaque() const { return allOpaque; }

private:
    struct Set {
        std::vector<std::vector<uint32_t>> pixels;
        std::vector<pixman_image_t*> images, turnable;  // both over the same pixels
    };
    void prepare(const Image& image, FrameLook look);

    std::array<Set, 4> looks;
    bool allOpaque = false;
};
