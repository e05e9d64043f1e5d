#include "play/game.h"
#include "play/play.h"

namespace {

// The first level always shows the same picture; later levels draw one of six.
void loadLevelBackground(Game& game) {
    const int drawn = game.media.randomInt(1, 6);
    const int number = game.progress.levelIndex == 0 ? 4 : drawn;
    const std::string path = "gfx/back/b" + std::to_string(number) + ".vvx";
    std::unique_ptr<Image> picture = game.media.loadImage(path);
    if (!picture) game.media.fatalError("cannot load picture " + path);
    MediaLayer::centreImageHandle(*picture);
    game.res.background = std::move(picture);
}

void resetLevelState(LevelState& level, ScreenFade& fade) {
    level.hint.visible = false;
    level.virusWatch.virusRevealed = false;
    fade.fadeTarget = 255;
    level.levelFrames = 0;
    level.phase = LevelPhase::Starting;
    level.phaseFrames = 0;
}

}  // namespace

void startLevel(Game& game) {
    // A saved game from elsewhere may name a level the map data does not have.
    if (game.progress.levelIndex < 0 || game.progress.levelIndex >= LevelCount) game.progress.levelIndex = 0;
    resetLevelState(game.level, game.fade);
    game.board.computerCount = 0;
    buildLevel(game.board, game.mapData, game.progress.levelIndex, game.media);
    // The board empties its device lists; the ghosts of the old board belong to play.
    game.effects.ghosts.clear();
    loadLevelBackground(game);
    game.media.playSound(game.res.start);
}

void finishLevel(Game& game) {
    Progress& progress = game.progress;
    int& best = progress.bestTimes[progress.levelIndex];
    if (game.level.levelFrames < best) best = game.level.levelFrames;
    progress.levelIndex += 1;
    // After the last level the game goes round again from the first.
    if (progress.levelIndex >= LevelCount) progress.levelIndex = 0;
    progress.rankPoints += 50;
}

void stepRank(Game& game) {
    Progress& progress = game.progress;
    if (progress.rankPoints <= 150) return;
    progress.rankPoints = 0;  // the excess is dropped
    if (progress.rankIndex < RankCount - 1) {
        progress.rankIndex += 1;
        game.media.playSound(game.res.rankUp);
    }
}
