// The picture files of the game: name, file format and the artwork that fills each, written
// once per picture set. The formats are mixed on purpose, so the game's loader meets every
// kind it reads; each file keeps its format in every set.

#include "picture_files.h"

#include <functional>
#include <string>
#include <vector>

#include "artwork.h"
#include "common/picture_writers.h"
#include "desktop_icon.h"
#include "media/pictures/picture_sets.h"

namespace {

enum class Format { PngAlpha, PngOpaque, Tga, Bmp, Jpeg };

constexpr int JpegQuality = 92;

using Artwork = std::function<PixelBlock(const FontLibrary&, int scale)>;

struct PictureFile {
    std::string name;  // in the scale-1 set
    Format format;
    Artwork draw;
};

// The scale-1 set is compressed hardest; the larger sets, with four and nine times the
// pixels, are compressed more quickly, so that making them stays within the build's time.
std::vector<uint8_t> encode(const PixelBlock& pixels, Format format, int scale) {
    const int compression = scale == 1 ? 9 : 6;
    switch (format) {
        case Format::PngAlpha: return encodePng(pixels, true, compression);
        case Format::PngOpaque: return encodePng(pixels, false, compression);
        case Format::Tga: return encodeTga32(pixels);
        case Format::Bmp: return encodeBmp24(pixels);
        case Format::Jpeg: return encodeJpeg(pixels, JpegQuality);
    }
    return {};
}

// The larger sets keep their pictures small on disk: what the scale-1 set stores
// uncompressed, they store as PNG, with alpha or without as the original (so the loader
// masks the same pictures).
Format formatAt(Format format, int scale) {
    if (scale == 1) return format;
    if (format == Format::Tga) return Format::PngAlpha;
    if (format == Format::Bmp) return Format::PngOpaque;
    return format;
}

// Artwork that needs no text.
Artwork plain(PixelBlock (*draw)(int)) {
    return [draw](const FontLibrary&, int scale) { return draw(scale); };
}

Artwork background(int mood) {
    return [mood](const FontLibrary&, int scale) { return makeGameBackground(mood, scale); };
}

Artwork boardCanvas(int sizeClass) {
    return [sizeClass](const FontLibrary&, int scale) { return makeBoardCanvas(sizeClass, scale); };
}

std::vector<PictureFile> pictureFiles() {
    return {
        {"gfx/pointer.spr", Format::Tga, plain(makePointer)},
        {"gfx/sphere.spr", Format::PngAlpha, plain(makeSphere)},
        {"gfx/lights.spr", Format::PngAlpha, plain(makeLights)},
        {"gfx/buttons.spr", Format::PngAlpha, plain(makeMusicButtons)},
        {"gfx/icon.spr", Format::PngAlpha, plain(makeIcon)},
        {"gfx/hint.spr", Format::PngAlpha, plain(makeHintBubble)},
        {"gfx/back/b1.vvx", Format::Bmp, background(1)},
        {"gfx/back/b2.vvx", Format::Jpeg, background(2)},
        {"gfx/back/b3.vvx", Format::PngOpaque, background(3)},
        {"gfx/back/b4.vvx", Format::Jpeg, background(4)},
        {"gfx/back/b5.vvx", Format::Bmp, background(5)},
        {"gfx/back/b6.vvx", Format::PngOpaque, background(6)},
        {"gfx/logocw.spr", Format::PngAlpha, makeProductLogo},
        {"gfx/complete.spr", Format::Tga, plain(makeTileSheet)},
        {"gfx/panel.spr", Format::PngAlpha, plain(makePanel)},
        {"gfx/bigfont.spr", Format::PngAlpha, makeBigFont},
        {"gfx/tahomafont.spr", Format::PngAlpha, makeSmallFont},
        {"gfx/back/canvas0.spr", Format::PngAlpha, boardCanvas(0)},
        {"gfx/back/canvas1.spr", Format::PngAlpha, boardCanvas(1)},
        {"gfx/back/canvas2.spr", Format::PngAlpha, boardCanvas(2)},
        {"gfx/back/canvas3.spr", Format::PngAlpha, boardCanvas(3)},
        {"gfx/logo_Pelmar.png", Format::PngAlpha, makePublisherLogo},
        {"gfx/crest.spr", Format::PngAlpha, plain(makeCrest)},
        {"gfx/01.spr", Format::PngAlpha, plain(makeParticles)},
        {"gfx/back/menuback.vvx", Format::Jpeg, plain(makeMenuBackground)},
        {"gfx/menubuttons.spr", Format::PngAlpha, makeMenuButtons},
        {"gfx/menubuttonsglow.spr", Format::PngAlpha, makeMenuButtonGlows},
        {"gfx/linkglow.spr", Format::PngAlpha, makeMenuLinkGlows},
        {"gfx/toolbuttons.spr", Format::PngAlpha, plain(makeBoardToolButtons)},
        {"gfx/padlock.spr", Format::PngAlpha, plain(makePadlock)},
        // Not of the resource table: the game loads it for its window's icon.
        {"gfx/window_icon.png", Format::PngAlpha, plain(makeWindowIcon)},
    };
}

}  // namespace

int pictureFileCount() { return static_cast<int>(pictureFiles().size()); }

void writePictureSet(const std::filesystem::path& gameFolder, int scale) {
    std::filesystem::create_directories(gameFolder / scaledPicturePath("gfx/back", scale));
    const FontLibrary fonts;
    for (const PictureFile& file : pictureFiles())
        saveBytes((gameFolder / scaledPicturePath(file.name, scale)).string(),
                  encode(file.draw(fonts, scale), formatAt(file.format, scale), scale));
}

void writeAllPictures(const std::filesystem::path& gameFolder) {
    for (const int scale : PictureScales) writePictureSet(gameFolder, scale);
}
