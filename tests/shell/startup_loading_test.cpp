// Start-up: every picture and sound loaded and cut as the game draws it, and a damaged game
// folder. Start-up decodes the pictures and sounds beside the opening of the screen; what
// the player sees of a damaged folder must be what loading them one by one would show.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "media/pictures/picture_file.h"
#include "media/scripted/scripted_media.h"
#include "play/game.h"
#include "shell/resource_table.h"
#include "shell/run_game.h"
#include "shell/shell_scenario.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

// The built game folder linked file by file, so single files can be spoiled or left out.
class LoadingFolder : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(gameFolder() / "maps/newmapdata.cwm")) GTEST_SKIP() << "no built game folder";
        const fs::path game = fs::absolute(gameFolder());
        for (const auto& entry : fs::recursive_directory_iterator(game)) {
            const fs::path relative = fs::relative(entry.path(), game);
            if (entry.is_directory())
                fs::create_directories(folder.path() / relative);
            else if (relative.filename() != "cablewright")
                fs::create_symlink(entry.path(), folder.path() / relative);
        }
    }
    void spoil(const std::string& relative) {
        fs::remove(folder.file(relative));
        writeBytes(folder.file(relative), {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'});
    }
    // Runs start-up and a few menu frames; the fatal error's message, or "".
    std::string startUpMessage() { return ::startUpMessage(folder.path(), media, 3); }

    ScratchFolder folder{"loading"};
    ScriptedMedia media;
};

TEST_F(LoadingFolder, OfTwoDamagedPicturesTheFirstOfTheTableIsNamed) {
    // The product logo comes before the menu background in the table; the background is
    // the smaller file, so a loader that reported whichever failed first would name it.
    spoil("gfx/back/menuback.vvx");
    spoil("gfx/logocw.spr");
    EXPECT_EQ(startUpMessage(), "cannot load picture gfx/logocw.spr (not a picture)");
}

TEST_F(LoadingFolder, TheLastPictureOfTheTableIsWaitedForToo) {
    spoil("gfx/menubuttonsglow.spr");
    EXPECT_EQ(startUpMessage(), "cannot load picture gfx/menubuttonsglow.spr (not a picture)");
}

TEST_F(LoadingFolder, AMissingTracksFolderIsReportedBeforeAnyDamagedPicture) {
    fs::remove_all(folder.file("tracks"));
    spoil("gfx/pointer.spr");
    EXPECT_EQ(startUpMessage(), "failed to read ''Tracks'' directory");
}

TEST_F(LoadingFolder, MissingSoundsAreNamedInTableOrderAndTheGameGoesOn) {
    fs::remove(folder.file("sfx/virus.wav"));
    fs::remove(folder.file("sfx/click.wav"));
    spoil("sfx/menutheme.ogg");
    EXPECT_EQ(startUpMessage(), "");
    std::vector<std::string> soundWarnings;
    for (const std::string& warning : media.warnings)
        if (warning.rfind("cannot load sound", 0) == 0) soundWarnings.push_back(warning);
    EXPECT_EQ(soundWarnings, (std::vector<std::string>{"cannot load sound sfx/click.wav; it stays silent",
                                                       "cannot load sound sfx/virus.wav; it stays silent",
                                                       "cannot load sound sfx/menutheme.ogg; it stays silent"}));
}

// Every picture start-up loads, in table order.
std::vector<const Image*> everyPicture(const Resources& res, const SpriteFont& font) {
    std::vector<const Image*> pictures = {
        res.pointer.get(),    res.sphere.get(),       res.lights.get(),         res.buttons.get(), res.icon.get(),
        res.hint.get(),       res.background.get(),   res.logo.get(),           res.tiles.get(),   res.panel.get(),
        font.bigDigits.get(), font.smallGlyphs.get(), res.publisherLogo.get(),  res.crest.get(),   res.particle.get(),
        res.menuBack.get(),   res.menuButtons.get(),  res.menuButtonsGlow.get()};
    for (const auto& canvas : res.canvas) pictures.push_back(canvas.get());
    return pictures;
}

// The pictures of a larger set are the same pictures to the game: the same logical size,
// frames and handles, only more pixels in every frame.
TEST_F(LoadingFolder, ALargerSetGivesTheGameTheSamePicturesInMorePixels) {
    WorkingFolder inFolder(folder.path());
    Resources first;
    SpriteFont firstFont;
    loadPictures(media, first, firstFont);
    for (const int scale : {2, 3}) {
        ScriptedMedia scaledMedia;
        scaledMedia.setPictureScale(scale);
        Resources scaled;
        SpriteFont scaledFont;
        loadPictures(scaledMedia, scaled, scaledFont);
        const auto expected = everyPicture(first, firstFont), pictures = everyPicture(scaled, scaledFont);
        for (size_t i = 0; i < pictures.size(); ++i) {
            const Image& want = *expected[i];
            const Image& got = *pictures[i];
            EXPECT_EQ(got.width, want.width) << "picture " << i << " at scale " << scale;
            EXPECT_EQ(got.height, want.height) << "picture " << i << " at scale " << scale;
            EXPECT_EQ(got.handleX, want.handleX) << "picture " << i << " at scale " << scale;
            EXPECT_EQ(got.handleY, want.handleY) << "picture " << i << " at scale " << scale;
            EXPECT_EQ(got.frameCount(), want.frameCount()) << "picture " << i << " at scale " << scale;
            EXPECT_EQ(got.pixelScale, scale);
            const FramePixels frames(got);
            EXPECT_EQ(frames[frames.count() - 1].width, want.width * scale) << "picture " << i << " at scale " << scale;
            EXPECT_EQ(frames[frames.count() - 1].height, want.height * scale)
                << "picture " << i << " at scale " << scale;
        }
    }
}

TEST_F(LoadingFolder, APictureMissingFromTheChosenSetIsNamedThoughTheFirstSetHasIt) {
    fs::remove(folder.file("gfx@2/crest.spr"));
    media.setPictureScale(2);
    EXPECT_EQ(startUpMessage(), "cannot load picture gfx@2/crest.spr (No such file or directory)");
}

TEST_F(LoadingFolder, ADamagedPictureOfTheChosenSetIsNamed) {
    spoil("gfx@3/back/canvas1.spr");
    media.setPictureScale(3);
    EXPECT_EQ(startUpMessage(), "cannot load picture gfx@3/back/canvas1.spr (not a picture)");
}

// The window's icon in task bars: the game's icon picture, in the pixels of the chosen set.
TEST_F(LoadingFolder, TheWindowShowsTheIconPictureOfTheChosenSet) {
    media.setPictureScale(2);
    EXPECT_EQ(startUpMessage(), "");
    WorkingFolder inFolder(folder.path());
    ScriptedMedia reader;
    reader.setPictureScale(2);
    const std::unique_ptr<Image> picture = reader.loadImage(WindowIconPath, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(media.windowIcon.width, 128);
    EXPECT_EQ(media.windowIcon.height, 128);
    EXPECT_EQ(media.windowIcon.rgba, picture->frames.front().rgba);
}

TEST_F(LoadingFolder, WithoutItsIconPictureTheWindowShowsNoneAndTheGameGoesOn) {
    fs::remove(folder.file("gfx/window_icon.png"));
    EXPECT_EQ(startUpMessage(), "");
    EXPECT_TRUE(media.windowIcon.rgba.empty());
    EXPECT_EQ(media.warnings, (std::vector<std::string>{"no window icon: cannot load picture gfx/window_icon.png"}));
    EXPECT_GT(media.framesPresented, 2);
}

}  // namespace

TEST(StartUp, AMissingPictureStopsTheGameNamingTheFile) {
    ScratchFolder folder("nopictures");
    WorkingFolder inFolder(folder.path());
    ScriptedMedia media;
    Game game(media);
    try {
        loadPictures(game.media, game.res, game.font);
        FAIL() << "loading went on without its pictures";
    } catch (const FatalError& error) {
        EXPECT_NE(std::string(error.what()).find("gfx/pointer.spr"), std::string::npos);
    }
}

// Every slot holds its own file, cut as the game draws it: the same pixels (samples) as
// the file loaded by its own name, so two entries of the table swapped are seen.
TEST(StartUp, EveryPictureAndSoundIsItsOwnFileCutAndHandledAsTheGameUsesIt) {
    ScratchFolder folder("startup");
    if (!linkBuiltGameFiles(folder.path())) GTEST_SKIP() << "no built game folder";
    WorkingFolder inFolder(folder.path());
    ScriptedMedia media;
    Game game(media);
    ShellState shell;
    // Each step is reported once its own work is done and before the next one's: the
    // start-up benchmark charges the time between two reports to the step.
    std::vector<std::string> steps;
    startUp(game, shell, [&](const char* step) {
        steps.push_back(std::string(step) + (game.res.tiles ? " pictures" : "") + (game.res.click ? " sounds" : "") +
                        (game.font.glyphWidths[0] ? " glyphs" : ""));
    });
    EXPECT_EQ(steps, (std::vector<std::string>{"screen", "tracks", "pictures pictures", "sounds pictures sounds",
                                               "levels pictures sounds", "tables pictures sounds glyphs"}));
    const Resources& res = game.res;
    struct Cut {
        const char* path;
        const Image* image;
        int width, height, frames;  // width 0: a single picture of its own size
        bool centred;
    };
    const Cut cuts[] = {
        {"gfx/pointer.spr", res.pointer.get(), 23, 32, 2, false},
        {"gfx/sphere.spr", res.sphere.get(), 0, 0, 1, true},
        {"gfx/lights.spr", res.lights.get(), 64, 64, 2, false},
        {"gfx/buttons.spr", res.buttons.get(), 32, 32, 8, true},
        {"gfx/icon.spr", res.icon.get(), 0, 0, 1, false},
        {"gfx/hint.spr", res.hint.get(), 13, 16, 3, false},
        {"gfx/back/b1.vvx", res.background.get(), 0, 0, 1, true},
        {"gfx/logocw.spr", res.logo.get(), 0, 0, 1, true},
        {"gfx/complete.spr", res.tiles.get(), 56, 56, 120, true},
        {"gfx/panel.spr", res.panel.get(), 0, 0, 1, false},
        {"gfx/bigfont.spr", game.font.bigDigits.get(), 46, 64, 11, false},
        {"gfx/tahomafont.spr", game.font.smallGlyphs.get(), 13, 13, 90, false},
        {"gfx/back/canvas0.spr", res.canvas[0].get(), 0, 0, 1, true},
        {"gfx/back/canvas1.spr", res.canvas[1].get(), 0, 0, 1, true},
        {"gfx/back/canvas2.spr", res.canvas[2].get(), 0, 0, 1, true},
        {"gfx/back/canvas3.spr", res.canvas[3].get(), 0, 0, 1, true},
        {"gfx/logo_Pelmar.png", res.publisherLogo.get(), 0, 0, 1, false},
        {"gfx/crest.spr", res.crest.get(), 32, 32, 34, true},
        {"gfx/01.spr", res.particle.get(), 64, 64, 2, true},
        {"gfx/back/menuback.vvx", res.menuBack.get(), 0, 0, 1, true},
        {"gfx/menubuttons.spr", res.menuButtons.get(), 281, 57, 7, true},
        {"gfx/menubuttonsglow.spr", res.menuButtonsGlow.get(), 281, 57, 7, true},
        {"gfx/linkglow.spr", res.menuLinkGlows.get(), 90, 30, 2, true},
        {"gfx/toolbuttons.spr", res.toolButtons.get(), 32, 32, 4, true},
        {"gfx/padlock.spr", res.padlock.get(), 0, 0, 1, true},
    };
    for (const Cut& cut : cuts) {
        ASSERT_NE(cut.image, nullptr) << cut.path;
        const std::unique_ptr<Image> own = cut.width
                                               ? media.loadImageStrip(cut.path, cut.width, cut.height, 0, cut.frames)
                                               : media.loadImage(cut.path);
        ASSERT_NE(own, nullptr) << cut.path;
        EXPECT_EQ(cut.image->width, own->width) << cut.path;
        EXPECT_EQ(cut.image->height, own->height) << cut.path;
        ASSERT_EQ(cut.image->frameCount(), cut.frames) << cut.path;
        EXPECT_EQ(cut.image->frames.front().rgba, own->frames.front().rgba) << cut.path;
        EXPECT_EQ(cut.image->frames.back().rgba, own->frames.back().rgba) << cut.path;
        EXPECT_FLOAT_EQ(cut.image->handleX, cut.centred ? cut.image->width * 0.5f : 0.0f) << cut.path;
        EXPECT_FLOAT_EQ(cut.image->handleY, cut.centred ? cut.image->height * 0.5f : 0.0f) << cut.path;
    }
    // Effects sound once; only the menu theme plays on and on.
    const std::pair<const char*, SoundPtr> sounds[] = {
        {"sfx/click.wav", res.click},        {"sfx/start.wav", res.start},     {"sfx/complete.wav", res.complete},
        {"sfx/virus.wav", res.virus},        {"sfx/staruse.wav", res.starUse}, {"sfx/rankup.wav", res.rankUp},
        {"sfx/menutheme.ogg", res.menuTheme}};
    for (const auto& [path, sound] : sounds) {
        ASSERT_NE(sound, nullptr) << path;
        const SoundPtr own = media.loadSound(path, 0);
        ASSERT_NE(own, nullptr) << path;
        EXPECT_EQ(sound->samples, own->samples) << path;
        EXPECT_EQ(sound->looping, sound == res.menuTheme) << path;
    }
    EXPECT_GT(game.music.trackCount, 0) << "the game's own music is listed for play";
    EXPECT_TRUE(media.pointerHidden);
    EXPECT_EQ(game.tables.connectors.open[TeeNES], (std::array<int, 4>{1, 1, 1, 0}));
    EXPECT_EQ(game.tables.animations[6][0], 22);
    EXPECT_EQ(game.font.glyphWidths[0], 2);
}

TEST(StartUp, AMissingSoundIsNamedAndLeftSilent) {
    ScratchFolder folder("nosounds");
    WorkingFolder inFolder(folder.path());
    ScriptedMedia media;
    Game game(media);
    loadSounds(game.media, game.res);
    EXPECT_EQ(game.res.click, nullptr);
    ASSERT_EQ(media.warnings.size(), 7u);
    EXPECT_NE(media.warnings[0].find("sfx/click.wav"), std::string::npos);
    EXPECT_EQ(media.playSound(game.res.click), 0);
}
