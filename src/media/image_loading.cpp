// Loading pictures: the file is read from the picture set of the chosen scale, whole unless
// its size or its header rule it out, decoded by content, masked when it has no alpha of its
// own, and kept as one frame or cut into the cells of a strip, each measured in logical pixels.
// A large single picture, once decoded whole, is kept as its file (see KeptPictureFile), and
// the same bytes loaded again give it back without decoding (see kept_picture_files.h).

#include "media/media_layer.h"
#include "media/media_parts.h"
#include "media/pictures/picture_decoders.h"
#include "media/pictures/picture_file.h"
#include "media/pictures/picture_sets.h"

namespace {

// -1 asks for the defaults (Masked + Filtered).
int effectiveFlags(int flags) { return flags == -1 ? ImageDefaultFlags : flags; }

// Tells why, when asked, and gives nothing.
std::nullopt_t refuse(std::string* refusal, const std::string& why) {
    if (refusal) *refusal = why;
    return std::nullopt;
}

bool readPictureFile(MediaLayer& media, const std::string& path, std::vector<uint8_t>& bytes, std::string* refusal) {
    // A file longer than its header's picture can need is refused having read that much.
    std::string headFault;
    const auto fitsItsHeader = [&headFault](std::span<const uint8_t> head, uint64_t size) {
        headFault = pictureHeadFault(head, size);
        return headFault.empty();
    };
    std::string readFailure;
    if (media.readWholeFileIf(path, bytes, MaxPictureFileBytes, PictureHeadBytes, fitsItsHeader, &readFailure))
        return true;
    refuse(refusal, headFault.empty() ? readFailure : headFault);
    return false;
}

std::optional<PixelBlock> decodeBytes(const std::vector<uint8_t>& bytes, int flags, std::string* refusal) {
    std::optional<PixelBlock> pixels = picturePixels(bytes, flags);
    if (!pixels) return refuse(refusal, pictureBodyFault(bytes));
    return pixels;
}

std::optional<PixelBlock> decodeFile(MediaLayer& media, const std::string& path, int flags, std::vector<uint8_t>& bytes,
                                     std::string* refusal) {
    if (!readPictureFile(media, path, bytes, refusal)) return std::nullopt;
    return decodeBytes(bytes, flags, refusal);
}

// The drawing path makes what it needs of it the first time the picture is drawn. Frames of
// `scale` pixels per logical pixel; nothing when they are not a whole number of logical pixels.
std::unique_ptr<Image> makeImage(std::vector<PixelBlock> frames, int flags, int scale, std::string* refusal) {
    const PixelBlock& first = frames.front();
    if (first.width % scale != 0 || first.height % scale != 0) {
        refuse(refusal, "its " + std::to_string(first.width) + " x " + std::to_string(first.height) +
                            " pixels are no whole number of pixels at scale " + std::to_string(scale));
        return nullptr;
    }
    auto image = std::make_unique<Image>();
    image->width = first.width / scale;
    image->height = first.height / scale;
    image->flags = flags;
    image->pixelScale = scale;
    image->frames = std::move(frames);
    return image;
}

}  // namespace

std::string MediaLayer::picturePath(const std::string& path) const { return scaledPicturePath(path, pictureSetScale); }

// A picture outside the sets' folder is read as it is, at scale 1.
int MediaLayer::scaleOfPicture(const std::string& path) const {
    return picturePath(path) == path ? 1 : pictureSetScale;
}

std::unique_ptr<Image> MediaLayer::loadImage(const std::string& path, int flags, std::string* refusal) {
    flags = effectiveFlags(flags);
    const std::string file = picturePath(path);
    std::vector<uint8_t> bytes;
    if (!readPictureFile(*this, file, bytes, refusal)) return nullptr;
    if (std::unique_ptr<Image> again = parts->keptPictures.find(file, flags, bytes)) return again;
    auto pixels = decodeBytes(bytes, flags, refusal);
    if (!pixels) return nullptr;
    const bool large = int64_t{pixels->width} * pixels->height > KeptAsFileAbovePixels;
    const bool opaque = large && everyPixelOpaque(*pixels);
    std::vector<PixelBlock> frames;
    frames.push_back(std::move(*pixels));
    std::unique_ptr<Image> image = makeImage(std::move(frames), flags, scaleOfPicture(path), refusal);
    if (image && large) {
        image->frames.clear();
        bytes.shrink_to_fit();
        image->file = std::make_shared<const KeptPictureFile>(KeptPictureFile{std::move(bytes), opaque});
        parts->keptPictures.remember(file, flags, *image);
    }
    return image;
}

std::unique_ptr<Image> MediaLayer::loadImageStrip(const std::string& path, int cellWidth, int cellHeight, int firstCell,
                                                  int cellCount, int flags, std::string* refusal) {
    flags = effectiveFlags(flags);
    std::vector<uint8_t> bytes;
    auto pixels = decodeFile(*this, picturePath(path), flags, bytes, refusal);
    if (!pixels) return nullptr;
    const int scale = scaleOfPicture(path);
    auto frames = cutStrip(*pixels, cellWidth * scale, cellHeight * scale, firstCell, cellCount);
    if (!frames) {
        refuse(refusal, "its " + std::to_string(pixels->width) + " x " + std::to_string(pixels->height) +
                            " pixels hold fewer than " + std::to_string(firstCell + cellCount) + " cells of " +
                            std::to_string(cellWidth * scale) + " x " + std::to_string(cellHeight * scale));
        return nullptr;
    }
    return makeImage(std::move(*frames), flags, scale, refusal);
}
