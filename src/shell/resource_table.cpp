#include "shell/resource_table.h"

#include "play/game.h"

namespace {

enum class Handle { TopLeft, Centred };

std::unique_ptr<Image> finish(Game& game, std::unique_ptr<Image> image, const char* path, Handle handle) {
    if (!image) game.media.fatalError(std::string("cannot load picture ") + path);
    if (handle == Handle::Centred) MediaLayer::centreImageHandle(*image);
    return image;
}

std::unique_ptr<Image> single(Game& game, const char* path, Handle handle) {
    return finish(game, game.media.loadImage(path), path, handle);
}

std::unique_ptr<Image> strip(Game& game, const char* path, int width, int height, int frames, Handle handle) {
    return finish(game, game.media.loadImageStrip(path, width, height, 0, frames), path, handle);
}

// The sounds are not needed to play: one that cannot be loaded stays silent.
SoundPtr sound(Game& game, const char* path, int loopFlag) {
    SoundPtr loaded = game.media.loadSound(path, loopFlag);
    if (!loaded) game.media.warning(std::string("cannot load sound ") + path + "; it stays silent");
    return loaded;
}

}  // namespace

void loadPictures(Game& game) {
    Resources& res = game.res;
    const Handle top = Handle::TopLeft, centred = Handle::Centred;
    res.pointer = strip(game, "gfx/pointer.spr", 23, 32, 2, top);
    res.sphere = single(game, "gfx/sphere.spr", centred);
    res.lights = strip(game, "gfx/lights.spr", 64, 64, 2, top);
    res.buttons = strip(game, "gfx/buttons.spr", 32, 32, 8, centred);
    res.icon = single(game, "gfx/icon.spr", top);
    res.hint = strip(game, "gfx/hint.spr", 13, 16, 3, top);
    res.background = single(game, "gfx/back/b1.vvx", centred);
    res.logo = single(game, "gfx/logocw.spr", centred);
    res.tiles = strip(game, "gfx/complete.spr", 56, 56, TileSheetFrames, centred);
    res.panel = single(game, "gfx/panel.spr", top);
    game.font.bigDigits = strip(game, "gfx/bigfont.spr", 46, 64, 11, top);
    game.font.smallGlyphs = strip(game, "gfx/tahomafont.spr", 13, 13, 90, top);
    const char* const canvases[4] = {"gfx/back/canvas0.spr", "gfx/back/canvas1.spr", "gfx/back/canvas2.spr",
                                     "gfx/back/canvas3.spr"};
    for (int i = 0; i < 4; ++i) res.canvas[i] = single(game, canvases[i], centred);
    res.publisherLogo = single(game, "gfx/logo_Pelmar.png", top);
    res.crest = strip(game, "gfx/crest.spr", 32, 32, 34, centred);
    res.particle = strip(game, "gfx/01.spr", 64, 64, 2, centred);
    res.menuBack = single(game, "gfx/back/menuback.vvx", centred);
    res.menuButtons = strip(game, "gfx/menubuttons.spr", 281, 57, 7, centred);
    res.menuButtonsGlow = strip(game, "gfx/menubuttonsglow.spr", 281, 57, 7, centred);
}

void loadSounds(Game& game) {
    Resources& res = game.res;
    res.click = sound(game, "sfx/click.wav", 0);
    res.start = sound(game, "sfx/start.wav", 0);
    res.complete = sound(game, "sfx/complete.wav", 0);
    res.virus = sound(game, "sfx/virus.wav", 0);
    res.starUse = sound(game, "sfx/staruse.wav", 0);
    res.rankUp = sound(game, "sfx/rankup.wav", 0);
    res.menuTheme = sound(game, "sfx/menutheme.ogg", 1);
}
