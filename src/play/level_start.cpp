#include "play/game.h"
#include "play/play.h"

namespace {

// The first level always shows the same picture; later levels draw one of six.
std::unique_ptr<Image> loadLevelBackground(MediaLayer& media, int levelIndex) {
    const int drawn = media.randomInt(1, 6);
    const int number = levelIndex == 0 ? 4 : drawn;
    const std::string path = "gfx/back/b" + std::to_string(number) + ".vvx";
    std::string refusal;
    std::unique_ptr<Image> picture = media.loadImage(path, -1, &refusal);
    if (!picture) media.fatalError("cannot load picture " + media.picturePath(path) + " (" + refusal + ")");
    MediaLayer::centreImageHandle(*picture);
    return picture;
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
    // The map data is read again at every level start, as the game always has.
    loadMapData(game.media, game.mapData);
    buildLevel(game.board, game.mapData, game.progress.levelIndex, game.media.randomGenerator());
    startBoardTools(game.level.tools, game.board);
    game.level.cleanings = 0;
    // A game pad's d-pad steps from cell to cell of this board.
    game.media.setPadGrid({game.board.originX, game.board.originY, CellSize});
    // The board empties its device lists; the ghosts of the old board belong to play.
    game.effects.ghosts.clear();
    game.res.background = loadLevelBackground(game.media, game.progress.levelIndex);
    game.media.playSound(game.res.start);
}

void finishLevel(Progress& progress, int levelFrames) {
    int& best = progress.bestTimes[progress.levelIndex];
    if (levelFrames < best) best = levelFrames;
    progress.levelIndex += 1;
    // After the last level the game goes round again from the first.
    if (progress.levelIndex >= LevelCount) progress.levelIndex = 0;
    progress.rankPoints += 50;
}

bool stepRank(Progress& progress) {
    if (progress.rankPoints <= 150) return false;
    progress.rankPoints = 0;  // the excess is dropped
    if (progress.rankIndex >= RankCount - 1) return false;
    progress.rankIndex += 1;
    return true;
}
