#pragma once
// A picture cut into one or more frames of equal size.

#include <cstdint>
#include <memory>
#include <vector>

// Bit set given when loading; -1 means the defaults (Masked + Filtered).
constexpr int ImageMasked = 1;
constexpr int ImageFiltered = 2;
constexpr int ImageDefaultFlags = ImageMasked | ImageFiltered;

// Pixels as bytes R, G, B, A, row by row from the top.
struct PixelBlock {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
};

// A large picture kept as its file's bytes instead of its pixels: a 2400 x 1800 background is
// 17 MB of pixels and under half a megabyte of file. A drawing path decodes it again each time
// it makes its own form of the picture (`FramePixels`) and keeps only that.
struct KeptPictureFile {
    std::vector<uint8_t> bytes;
    bool opaque = false;  // every pixel, once decoded
};

// Who a picture is, for the drawing paths that keep what they made of it: alive as long as
// the picture, and never handed on, so a copy or a moved picture is a new picture to them.
class PictureIdentity {
public:
    PictureIdentity() = default;
    PictureIdentity(const PictureIdentity&) {}
    PictureIdentity& operator=(const PictureIdentity&) {
        alive = std::make_shared<char>();
        return *this;
    }
    std::weak_ptr<const void> token() const { return alive; }
    bool is(const std::weak_ptr<const void>& other) const {
        return !other.owner_before(alive) && !alive.owner_before(other) && !other.expired();
    }

private:
    std::shared_ptr<char> alive = std::make_shared<char>();
};

// Sizes and the handle are in logical pixels, those of the game's 800 x 600 screen, whichever
// picture set the frames come from: a picture of the set of scale k has frames of k x k
// pixels per logical pixel and is drawn over the same logical rectangle as its scale-1 twin.
struct Image {
    int width = 0, height = 0;  // size of one frame
    float handleX = 0.0f, handleY = 0.0f;
    int flags = ImageDefaultFlags;
    int pixelScale = 1;                           // pixels of the frames per logical pixel, each way
    std::vector<PixelBlock> frames;               // width * pixelScale x height * pixelScale each
    std::shared_ptr<const KeptPictureFile> file;  // in place of the frames, for one large frame
    PictureIdentity identity;

    int frameCount() const { return file ? 1 : static_cast<int>(frames.size()); }
};
