#include "play/scene.h"

#include "play/game.h"
#include "play/status_panel.h"

namespace {

constexpr float BackdropAlpha = 0.8f;
constexpr float CellShadowAlpha = 0.5f;
constexpr float DeviceShadowAlpha = 0.4f;
constexpr int ShadowOffset = 4;

void drawPicture(MediaLayer& media, const std::unique_ptr<Image>& image, int x, int y, int frame = 0) {
    if (image) media.drawImage(*image, static_cast<float>(x), static_cast<float>(y), frame);
}

// A black copy 4 pixels down-right, then the picture itself; the shadow stays black while
// the picture darkens with the fade.
void drawShadowed(Game& game, int column, int row, int frame, float shadowAlpha) {
    const int x = cellCentreX(game.board, column);
    const int y = cellCentreY(game.board, row);
    game.media.setDrawColour(0, 0, 0);
    game.media.setDrawAlpha(shadowAlpha);
    drawPicture(game.media, game.res.tiles, x + ShadowOffset, y + ShadowOffset, frame);
    setFadeColour(game.media, game.fade);
    game.media.setDrawAlpha(1.0f);
    drawPicture(game.media, game.res.tiles, x, y, frame);
}

void drawBackdrop(Game& game) {
    const int sizeClass = game.board.sizeClass;
    if (sizeClass < 0 || sizeClass >= static_cast<int>(game.res.canvas.size())) return;
    game.media.setDrawAlpha(BackdropAlpha);
    drawPicture(game.media, game.res.canvas[sizeClass], 400, 300);
    game.media.setDrawAlpha(1.0f);
}

void drawBoard(Game& game) {
    const Board& board = game.board;
    for (int column = 0; column < board.columns; ++column)
        for (int row = 0; row < board.rows; ++row)
            drawShadowed(game, column, row, board.tile[column][row], CellShadowAlpha);
    for (const Computer& computer : board.computers)
        drawShadowed(game, computer.x, computer.y,
                     NotConnectedComputerFrame + computer.state * ComputerFramesPerState + computer.animFrame,
                     DeviceShadowAlpha);
    for (const FaxModem& fax : board.faxModems)
        drawShadowed(game, fax.x, fax.y, FaxModemTile + fax.blinkFrame, DeviceShadowAlpha);
    drawShadowed(game, board.serverX, board.serverY, ServerTopTile, DeviceShadowAlpha);
    drawShadowed(game, board.serverX, board.serverY + 1, ServerBottomTile, DeviceShadowAlpha);
    game.media.setDrawAlpha(1.0f);
}

std::string twoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

void drawScene(Game& game) {
    game.media.clearScreen();
    drawPicture(game.media, game.res.background, 400, 300);
    drawFallingLights(game);
    drawBackdrop(game);
    drawRotationGhosts(game);
    drawBoard(game);
    drawSparkles(game);
}

void drawHud(Game& game) {
    game.media.setDrawColour(255, 255, 255);
    drawPicture(game.media, game.res.panel, 0, 584);
    drawPicture(game.media, game.res.icon, 0, 536);
    drawDigits(game, 780, 545, levelTimeText(game.level.levelFrames));
    drawText(game, 400, 585, captionLine(game), AlignCentre);
    drawMusicButtons(game);
}

std::string levelTimeText(int frames) {
    return twoDigits(frames / 3600) + ":" + twoDigits((frames / 60) % 60);
}

std::string captionLine(const Game& game) {
    const Progress& progress = game.progress;
    const int level = progress.levelIndex;
    const int best = level >= 0 && level < RecordCount ? progress.bestTimes[level] : 0;
    return "Level:" + std::to_string(level % 5 + 1) + "   Zone:" + std::to_string(level / 5) +
           "   Best: " + levelTimeText(best) + "   Rank: " + rankName(progress.rankIndex);
}
