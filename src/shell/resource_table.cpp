#include "shell/resource_table.h"

#include <string>

#include "play/game.h"

namespace {

enum class Handle { TopLeft, Centred };

struct PictureEntry {
    const char* path;
    int cellWidth, cellHeight, frames;  // frames 0: a single picture
    Handle handle;
    std::unique_ptr<Image>& (*slot)(Game&);
};

constexpr Handle Top = Handle::TopLeft, Centred = Handle::Centred;

// In the order the game has always loaded them.
const PictureEntry PictureTable[] = {{"gfx/pointer.spr", 23, 32, 2, Top, [](Game& g) -> auto& {return g.res.pointer;
}  // namespace
}
, {"gfx/sphere.spr", 0, 0, 0, Centred, [](Game& g) -> auto& {return g.res.sphere;
}
}
, {"gfx/lights.spr", 64, 64, 2, Top, [](Game& g) -> auto& {return g.res.lights;
}
}
, {"gfx/buttons.spr", 32, 32, 8, Centred, [](Game& g) -> auto& {return g.res.buttons;
}
}
, {"gfx/icon.spr", 0, 0, 0, Top, [](Game& g) -> auto& {return g.res.icon;
}
}
, {"gfx/hint.spr", 13, 16, 3, Top, [](Game& g) -> auto& {return g.res.hint;
}
}
, {"gfx/back/b1.vvx", 0, 0, 0, Centred, [](Game& g) -> auto& {return g.res.background;
}
}
, {"gfx/logocw.spr", 0, 0, 0, Centred, [](Game& g) -> auto& {return g.res.logo;
}
}
, {"gfx/complete.spr", 56, 56, TileSheetFrames, Centred, [](Game& g) -> auto& {return g.res.tiles;
}
}
, {"gfx/panel.spr", 0, 0, 0, Top, [](Game& g) -> auto& {return g.res.panel;
}
}
, {"gfx/bigfont.spr", 46, 64, 11, Top, [](Game& g) -> auto& {return g.font.bigDigits;
}
}
, {"gfx/tahomafont.spr", 13, 13, 90, Top, [](Game& g) -> auto& {return g.font.smallGlyphs;
}
}
, {"gfx/back/canvas0.spr", 0, 0, 0, Centred, [](Game& g) -> auto& {return g.res.canvas[0];
}
}
, {"gfx/back/canvas1.spr", 0, 0, 0, Centred, [](Game& g) -> auto& {return g.res.canvas[1];
}
}
, {"gfx/back/canvas2.spr", 0, 0, 0, Centred, [](Game& g) -> auto& {return g.res.canvas[2];
}
}
, {"gfx/back/canvas3.spr", 0, 0, 0, Centred, [](Game& g) -> auto& {return g.res.canvas[3];
}
}
, {"gfx/logo_Pelmar.png", 0, 0, 0, Top, [](Game& g) -> auto& {return g.res.publisherLogo;
}
}
, {"gfx/crest.spr", 32, 32, 34, Centred, [](Game& g) -> auto& {return g.res.crest;
}
}
, {"gfx/01.spr", 64, 64, 2, Centred, [](Game& g) -> auto& {return g.res.particle;
}
}
, {"gfx/back/menuback.vvx", 0, 0, 0, Centred, [](Game& g) -> auto& {return g.res.menuBack;
}
}
, {"gfx/menubuttons.spr", 281, 57, 7, Centred, [](Game& g) -> auto& {return g.res.menuButtons;
}
}
, {"gfx/menubuttonsglow.spr", 281, 57, 7, Centred, [](Game& g) -> auto& {return g.res.menuButtonsGlow;
}
}
,
}
;

struct SoundEntry {
    const char* path;
    int loopFlag;
    SoundPtr Resources::*slot;
};

const SoundEntry SoundTable[] = {
    {"sfx/click.wav", 0, &Resources::click},         {"sfx/start.wav", 0, &Resources::start},
    {"sfx/complete.wav", 0, &Resources::complete},   {"sfx/virus.wav", 0, &Resources::virus},
    {"sfx/staruse.wav", 0, &Resources::starUse},     {"sfx/rankup.wav", 0, &Resources::rankUp},
    {"sfx/menutheme.ogg", 1, &Resources::menuTheme},
};

std::unique_ptr<Image> loadPicture(MediaLayer& media, const PictureEntry& entry) {
    if (entry.frames == 0) return media.loadImage(entry.path);
    return media.loadImageStrip(entry.path, entry.cellWidth, entry.cellHeight, 0, entry.frames);
}

// Beside the caller where a thread can be had, else when the result is asked for.
template <typename Work>
auto beside(Work work) {
    return std::async(std::launch::async | std::launch::deferred, std::move(work));
}

}  // namespace

PictureLoad startLoadingPictures(MediaLayer& media) {
    // Loading a picture reads only its own file and keeps nothing in the layer.
    return beside([&media] {
        std::vector<std::unique_ptr<Image>> pictures;
        for (const PictureEntry& entry : PictureTable) pictures.push_back(loadPicture(media, entry));
        return pictures;
    });
}

SoundLoad startLoadingSounds(MediaLayer& media) {
    return beside([&media] {
        std::vector<SoundPtr> sounds;
        for (const SoundEntry& entry : SoundTable) sounds.push_back(media.loadSound(entry.path, entry.loopFlag));
        return sounds;
    });
}

void takePictures(Game& game, PictureLoad& load) {
    std::vector<std::unique_ptr<Image>> pictures = load.get();
    for (size_t i = 0; i < pictures.size(); ++i) {
        const PictureEntry& entry = PictureTable[i];
        if (!pictures[i]) game.media.fatalError(std::string("cannot load picture ") + entry.path);
        if (entry.handle == Handle::Centred) MediaLayer::centreImageHandle(*pictures[i]);
        entry.slot(game) = std::move(pictures[i]);
    }
}

void takeSounds(Game& game, SoundLoad& load) {
    std::vector<SoundPtr> sounds = load.get();
    for (size_t i = 0; i < sounds.size(); ++i) {
        const SoundEntry& entry = SoundTable[i];
        // The sounds are not needed to play: one that cannot be loaded stays silent.
        if (!sounds[i]) game.media.warning(std::string("cannot load sound ") + entry.path + "; it stays silent");
        game.res.*entry.slot = std::move(sounds[i]);
    }
}

void loadPictures(Game& game) {
    PictureLoad load = startLoadingPictures(game.media);
    takePictures(game, load);
}

void loadSounds(Game& game) {
    SoundLoad load = startLoadingSounds(game.media);
    takeSounds(game, load);
}
