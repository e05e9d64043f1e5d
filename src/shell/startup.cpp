#include "shell/startup.h"

#include <memory>

#include "play/game.h"
#include "shell/options_screen.h"
#include "shell/resource_table.h"
#include "shell/shell_state.h"

namespace {

// The window's icon in task bars and switchers: the launcher's picture, from the set of the
// screen's scale. Without it the game plays on, under a blank icon.
void showWindowIcon(MediaLayer& media) {
    const std::unique_ptr<Image> icon = media.loadImage(WindowIconPath, 0);
    if (icon && !icon->frames.empty())
        media.setWindowIcon(icon->frames.front());
    else
        media.warning("no window icon: cannot load picture " + media.picturePath(WindowIconPath));
}

}  // namespace

void startUpWithoutProgress(Game& game, ShellState& shell, const StartupStepDone& stepDone) {
    const auto done = [&stepDone](const char* step) {
        if (stepDone) stepDone(step);
    };
    MediaLayer& media = game.media;
    // The player's settings say how the screen opens, so they come first.
    game.settings = loadSettings(media, game.settingsFile);
    const int depth = game.settings.start == StartMode::Window ? 0 : 32;  // depth 0: a window
    // Pictures drawn as finely as the screen shows them.
    media.setPictureScale(media.pictureScaleForScreen(ScreenWidth, ScreenHeight, depth));
    // The pictures and sounds are decoded while the screen opens (see resource_table.h).
    PictureLoad pictures = startLoadingPictures(media);
    SoundLoad sounds = startLoadingSounds(media);
    if (!media.openScreen(ScreenWidth, ScreenHeight, depth, 60, 0))
        media.fatalError("cannot open the 800 x 600 screen");
    applySoundVolumes(media, game.settings);
    media.hidePointer();
    showWindowIcon(media);
    media.seedRandom(media.millisecs());
    done("screen");
    // The effect and device lists start empty with the Game itself.
    buildTrackList(game.music, media, shell.userTracksFolder);
    done("tracks");
    takePictures(media, game.res, game.font, pictures);
    preparePicturesAhead(media);
    done("pictures");
    takeSounds(media, game.res, sounds);
    done("sounds");
    // Every level is read again at its start; a damaged map file stops the game here instead.
    checkMapData(media);
    done("levels");
    buildGlyphWidths(game.font);
    game.tables.connectors = buildConnectorTable();
    game.tables.animations = buildAnimationTable();
    media.setBlendMode(BlendMode::Alpha);
    game.fade = ScreenFade{};
    shell.glowLevels.fill(0.0f);
    shell.welcomeLine = buildWelcomeLine();
    // The welcome line re-enters from the right once all of it has scrolled off the left.
    shell.marqueeLoopPoint = -textWidth(game.font, shell.welcomeLine);
}

void startUp(Game& game, ShellState& shell, const StartupStepDone& stepDone) {
    startUpWithoutProgress(game, shell, stepDone);
    // A save killed part-way left its side file; the file itself is as it was.
    removeUnfinishedSaves(game.media, game.progress);
    loadRecords(game.media, game.progress);
    if (stepDone) stepDone("tables");
}
