// The picture files of the game: name, file format and the artwork that fills each.
// The formats are mixed on purpose, so the game's loader meets every kind it reads.

#include "picture_files.h"

#include <functional>
#include <string>
#include <vector>

#include "artwork.h"
#include "common/picture_writers.h"

namespace {

enum class Format { PngAlpha, PngOpaque, Tga, Bmp, Jpeg };

constexpr int JpegQuality = 92;

struct PictureFile {
    std::string name;
    Format format;
    std::function<PixelBlock(const FontLibrary&)> draw;
};

std::vector<uint8_t> encode(const PixelBlock& pixels, Format format) {
    switch (format) {
        case Format::PngAlpha: return encodePng(pixels, true);
        case Format::PngOpaque: return encodePng(pixels, false);
        case Format::Tga: return encodeTga32(pixels);
        case Format::Bmp: return encodeBmp24(pixels);
        case Format::Jpeg: return encodeJpeg(pixels, JpegQuality);
    }
    return {};
}

// Artwork that needs no text.
std::function<PixelBlock(const FontLibrary&)> plain(PixelBlock (*draw)()) {
    return [draw](const FontLibrary&) { return draw(); };
}

std::function<PixelBlock(const FontLibrary&)> background(int mood) {
    return [mood](const FontLibrary&) { return makeGameBackground(mood); };
}

std::function<PixelBlock(const FontLibrary&)> boardCanvas(int sizeClass) {
    return [sizeClass](const FontLibrary&) { return makeBoardCanvas(sizeClass); };
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
    };
}

}  // namespace

void writeAllPictures(const std::filesystem::path& gameFolder) {
    std::filesystem::create_directories(gameFolder / "gfx" / "back");
    const FontLibrary fonts;
    for (const PictureFile& file : pictureFiles())
        saveBytes((gameFolder / file.name).string(), encode(file.draw(fonts), file.format));
}
