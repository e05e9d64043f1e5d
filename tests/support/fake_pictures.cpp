#include "support/fake_pictures.h"

#include "board/tile_codes.h"
#include "media/media_layer.h"
#include "play/resources.h"
#include "play/sprite_font.h"

std::unique_ptr<Image> fakeImage(int width, int height, int frames, bool centred) {
    auto image = std::make_unique<Image>();
    image->width = width;
    image->height = height;
    image->frames.assign(static_cast<size_t>(frames), PixelBlock{width, height, {}});
    if (centred) MediaLayer::centreImageHandle(*image);
    return image;
}

void giveFakePictures(Resources& res, SpriteFont& font) {
    const bool top = false, centred = true;
    res.pointer = fakeImage(23, 32, 2, top);
    res.sphere = fakeImage(64, 64, 1, centred);
    res.lights = fakeImage(64, 64, 2, top);
    res.buttons = fakeImage(32, 32, 8, centred);
    res.icon = fakeImage(48, 48, 1, top);
    res.hint = fakeImage(13, 16, 3, top);
    res.background = fakeImage(ScreenWidth, ScreenHeight, 1, centred);
    res.logo = fakeImage(400, 120, 1, centred);
    res.tiles = fakeImage(56, 56, TileSheetFrames, centred);
    res.panel = fakeImage(ScreenWidth, 16, 1, top);
    font.bigDigits = fakeImage(46, 64, 11, top);
    font.smallGlyphs = fakeImage(13, 13, 90, top);
    for (auto& canvas : res.canvas) canvas = fakeImage(500, 450, 1, centred);
    res.publisherLogo = fakeImage(150, 60, 1, top);
    res.crest = fakeImage(32, 32, 34, centred);
    res.particle = fakeImage(64, 64, 2, centred);
    res.menuBack = fakeImage(ScreenWidth, ScreenHeight, 1, centred);
    res.menuButtons = fakeImage(281, 57, 7, centred);
    res.menuButtonsGlow = fakeImage(281, 57, 7, centred);
    res.menuLinkGlows = fakeImage(90, 30, 2, centred);
    res.toolButtons = fakeImage(32, 32, 4, centred);
    res.padlock = fakeImage(16, 16, 1, centred);
}
