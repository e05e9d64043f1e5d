#include "shell/resource_table.h"

#include <string>

#include "board/tile_codes.h"
#include "media/media_layer.h"
#include "play/resources.h"
#include "play/sprite_font.h"

namespace {

enum class Handle { TopLeft, Centred };

// Where a loaded picture goes: a member of the resources, a font picture or a backdrop.
using PictureSlot = std::unique_ptr<Image>& (*)(Resources&, SpriteFont&);

template <std::unique_ptr<Image> Resources::*member>
std::unique_ptr<Image>& resource(Resources& res, SpriteFont&) {
    return res.*member;
}

template <std::unique_ptr<Image> SpriteFont::*member>
std::unique_ptr<Image>& fontPicture(Resources&, SpriteFont& font) {
    return font.*member;
}

template <size_t index>
std::unique_ptr<Image>& backdrop(Resources& res, SpriteFont&) {
    return res.canvas[index];
}

struct PictureEntry {
    const char* path;
    int cellWidth, cellHeight, frames;  // frames 0: a single picture
    Handle handle;
    PictureSlot slot;
};

constexpr Handle Top = Handle::TopLeft, Centred = Handle::Centred;

// In the order the game has always loaded them.
const PictureEntry PictureTable[] = {
    {"gfx/pointer.spr", 23, 32, 2, Top, resource<&Resources::pointer>},
    {"gfx/sphere.spr", 0, 0, 0, Centred, resource<&Resources::sphere>},
    {"gfx/lights.spr", 64, 64, 2, Top, resource<&Resources::lights>},
    {"gfx/buttons.spr", 32, 32, 8, Centred, resource<&Resources::buttons>},
    {"gfx/icon.spr", 0, 0, 0, Top, resource<&Resources::icon>},
    {"gfx/hint.spr", 13, 16, 3, Top, resource<&Resources::hint>},
    {"gfx/back/b1.vvx", 0, 0, 0, Centred, resource<&Resources::background>},
    {"gfx/logocw.spr", 0, 0, 0, Centred, resource<&Resources::logo>},
    {"gfx/complete.spr", 56, 56, TileSheetFrames, Centred, resource<&Resources::tiles>},
    {"gfx/panel.spr", 0, 0, 0, Top, resource<&Resources::panel>},
    {"gfx/bigfont.spr", 46, 64, 11, Top, fontPicture<&SpriteFont::bigDigits>},
    {"gfx/tahomafont.spr", 13, 13, 90, Top, fontPicture<&SpriteFont::smallGlyphs>},
    {"gfx/back/canvas0.spr", 0, 0, 0, Centred, backdrop<0>},
    {"gfx/back/canvas1.spr", 0, 0, 0, Centred, backdrop<1>},
    {"gfx/back/canvas2.spr", 0, 0, 0, Centred, backdrop<2>},
    {"gfx/back/canvas3.spr", 0, 0, 0, Centred, backdrop<3>},
    {"gfx/logo_Pelmar.png", 0, 0, 0, Top, resource<&Resources::publisherLogo>},
    {"gfx/crest.spr", 32, 32, 34, Centred, resource<&Resources::crest>},
    {"gfx/01.spr", 64, 64, 2, Centred, resource<&Resources::particle>},
    {"gfx/back/menuback.vvx", 0, 0, 0, Centred, resource<&Resources::menuBack>},
    {"gfx/menubuttons.spr", 281, 57, 7, Centred, resource<&Resources::menuButtons>},
    {"gfx/menubuttonsglow.spr", 281, 57, 7, Centred, resource<&Resources::menuButtonsGlow>},
    // Beyond the game's first table: the glows of the menu's Records and Options links.
    {"gfx/linkglow.spr", 90, 30, 2, Centred, resource<&Resources::menuLinkGlows>},
    // And of the options of play: the undo and restart buttons, the padlock of a locked piece.
    {"gfx/toolbuttons.spr", 32, 32, 4, Centred, resource<&Resources::toolButtons>},
    {"gfx/padlock.spr", 0, 0, 0, Centred, resource<&Resources::padlock>},
};

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

LoadedPicture loadPicture(MediaLayer& media, const PictureEntry& entry) {
    LoadedPicture loaded;
    loaded.image = entry.frames == 0 ? media.loadImage(entry.path, -1, &loaded.refusal)
                                     : media.loadImageStrip(entry.path, entry.cellWidth, entry.cellHeight, 0,
                                                            entry.frames, -1, &loaded.refusal);
    return loaded;
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
        std::vector<LoadedPicture> pictures;
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

void takePictures(MediaLayer& media, Resources& res, SpriteFont& font, PictureLoad& load) {
    std::vector<LoadedPicture> pictures = load.get();
    for (size_t i = 0; i < pictures.size(); ++i) {
        const PictureEntry& entry = PictureTable[i];
        std::unique_ptr<Image>& image = pictures[i].image;
        if (!image)
            media.fatalError("cannot load picture " + media.picturePath(entry.path) + " (" + pictures[i].refusal + ")");
        if (entry.handle == Handle::Centred) MediaLayer::centreImageHandle(*image);
        entry.slot(res, font) = std::move(image);
    }
}

void takeSounds(MediaLayer& media, Resources& res, SoundLoad& load) {
    std::vector<SoundPtr> sounds = load.get();
    for (size_t i = 0; i < sounds.size(); ++i) {
        const SoundEntry& entry = SoundTable[i];
        // The sounds are not needed to play: one that cannot be loaded stays silent.
        if (!sounds[i]) media.warning(std::string("cannot load sound ") + entry.path + "; it stays silent");
        res.*entry.slot = std::move(sounds[i]);
    }
}

void preparePicturesAhead(MediaLayer& media) {
    // Soonest first: the help's plate opens at a click, the first level's background is the
    // fourth; the menu's own comes back after play.
    media.preparePicturesSoon({"gfx/back/canvas2.spr", "gfx/back/canvas0.spr", "gfx/back/canvas1.spr",
                               "gfx/back/canvas3.spr", "gfx/back/b4.vvx", "gfx/back/b1.vvx", "gfx/back/b2.vvx",
                               "gfx/back/b3.vvx", "gfx/back/b5.vvx", "gfx/back/b6.vvx", "gfx/back/menuback.vvx"});
}

void loadPictures(MediaLayer& media, Resources& res, SpriteFont& font) {
    PictureLoad load = startLoadingPictures(media);
    takePictures(media, res, font, load);
}

void loadSounds(MediaLayer& media, Resources& res) {
    SoundLoad load = startLoadingSounds(media);
    takeSounds(media, res, load);
}
