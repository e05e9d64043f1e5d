#include "play/scene.h"

#include <algorithm>

#include "play/game.h"
#include "play/status_panel.h"

namespace {

constexpr float BackdropAlpha = 0.8f;
constexpr float CellShadowAlpha = 0.5f;
constexpr float DeviceShadowAlpha = 0.4f;
constexpr int ShadowOffset = 4;
// A lit piece is drawn again over itself, added in the green of a connected screen.
constexpr float LitAlpha = 0.5f;
constexpr int LitRed = 110, LitGreen = 255, LitBlue = 160;
// A locked cell is dimmed, and its padlock sits in its lower right corner, inside the cell.
constexpr float LockDimAlpha = 0.35f;
constexpr int PadlockOffset = 14;

void drawPicture(MediaLayer& media, const Image& image, int x, int y, int frame = 0) {
    media.drawImage(image, static_cast<float>(x), static_cast<float>(y), frame);
}

// The tile sheet drawn cell by cell over the board, in the fade colour.
struct BoardPainter {
    MediaLayer& media;
    const Image& tiles;
    const ScreenFade& fade;
    const Board& board;

    // A black copy 4 pixels down-right, then the picture itself; the shadow stays black
    // while the picture darkens with the fade.
    void drawShadowed(int column, int row, int frame, float shadowAlpha) const {
        const int x = cellCentreX(board, column);
        const int y = cellCentreY(board, row);
        media.setDrawColour(0, 0, 0);
        media.setDrawAlpha(shadowAlpha);
        drawPicture(media, tiles, x + ShadowOffset, y + ShadowOffset, frame);
        setFadeColour(media, fade);
        media.setDrawAlpha(1.0f);
        drawPicture(media, tiles, x, y, frame);
    }

    void drawLit(int column, int row, int frame) const {
        const int b = fade.brightness;
        media.setBlendMode(BlendMode::Light);
        media.setDrawColour(LitRed * b / 255, LitGreen * b / 255, LitBlue * b / 255);
        media.setDrawAlpha(LitAlpha);
        drawPicture(media, tiles, cellCentreX(board, column), cellCentreY(board, row), frame);
        media.setBlendMode(BlendMode::Alpha);
        media.setDrawAlpha(1.0f);
        setFadeColour(media, fade);
    }

    void drawLock(int column, int row, const Image& padlock) const {
        media.setDrawColour(0, 0, 0);
        media.setDrawAlpha(LockDimAlpha);
        media.drawRect(static_cast<float>(board.originX + CellSize * column),
                       static_cast<float>(board.originY + CellSize * row), CellSize, CellSize);
        media.setDrawAlpha(1.0f);
        setFadeColour(media, fade);
        drawPicture(media, padlock, cellCentreX(board, column) + PadlockOffset,
                    cellCentreY(board, row) + PadlockOffset);
    }
};

void drawBackdrop(MediaLayer& media, const Resources& res, int sizeClass) {
    if (sizeClass < 0 || sizeClass >= static_cast<int>(res.canvas.size())) return;
    media.setDrawAlpha(BackdropAlpha);
    drawPicture(media, *res.canvas[sizeClass], ScreenCentreX, ScreenCentreY);
    media.setDrawAlpha(1.0f);
}

bool marked(const CellFlags* flags, int column, int row) {
    return flags && (*flags)[static_cast<size_t>(column)][static_cast<size_t>(row)];
}

void drawBoard(const BoardPainter& painter, const BoardMarks& marks, const Image& padlock) {
    const Board& board = painter.board;
    for (int column = 0; column < board.columns; ++column)
        for (int row = 0; row < board.rows; ++row) {
            painter.drawShadowed(column, row, board.tile[column][row], CellShadowAlpha);
            if (marked(marks.lit, column, row)) painter.drawLit(column, row, board.tile[column][row]);
        }
    for (const Computer& computer : board.computers)
        painter.drawShadowed(computer.x, computer.y,
                             NotConnectedComputerFrame + computer.state * ComputerFramesPerState + computer.animFrame,
                             DeviceShadowAlpha);
    for (const FaxModem& fax : board.faxModems)
        painter.drawShadowed(fax.x, fax.y, FaxModemTile + fax.blinkFrame, DeviceShadowAlpha);
    painter.drawShadowed(board.serverX, board.serverY, ServerTopTile, DeviceShadowAlpha);
    painter.drawShadowed(board.serverX, board.serverY + 1, ServerBottomTile, DeviceShadowAlpha);
    painter.media.setDrawAlpha(1.0f);
    if (marks.locked)
        for (int column = 0; column < board.columns; ++column)
            for (int row = 0; row < board.rows; ++row)
                if (marked(marks.locked, column, row)) painter.drawLock(column, row, padlock);
}

std::string twoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

void drawScene(MediaLayer& media, const Resources& res, Effects& effects, const Board& board, const ScreenFade& fade,
               const BoardMarks& marks) {
    media.clearScreen();
    drawPicture(media, *res.background, ScreenCentreX, ScreenCentreY);
    drawFallingLights(media, effects.lights, *res.lights);
    drawBackdrop(media, res, board.sizeClass);
    drawRotationGhosts(media, effects.ghosts, *res.tiles);
    drawBoard(BoardPainter{media, *res.tiles, fade, board}, marks, *res.padlock);
    drawSparkles(media, effects.sparkles, *res.sphere);
}

void drawHud(MediaLayer& media, const Resources& res, const SpriteFont& font, SceneView scene, const Progress& progress,
             bool toolButtons) {
    media.setDrawColour(255, 255, 255);
    drawPicture(media, *res.panel, 0, 584);
    drawPicture(media, *res.icon, 0, 536);
    drawDigits(media, font, 780, 545, levelTimeText(scene.level.levelFrames));
    const std::string caption = captionLine(progress);
    // Beside the undo and restart buttons a long caption moves right until it clears them.
    const int captionLeft = ScreenCentreX - textWidth(font, caption) / 2;
    const int shift = toolButtons ? std::max(0, ToolButtonsRight - captionLeft) : 0;
    drawText(media, font, ScreenCentreX + shift, 585, caption, AlignCentre);
    drawMusicButtons(media, *res.buttons, scene.input, scene.hoveredControl);
    if (toolButtons) drawBoardToolButtons(media, *res.toolButtons, scene.input, scene.hoveredControl);
}

std::string levelTimeText(int frames) { return twoDigits(frames / 3600) + ":" + twoDigits((frames / 60) % 60); }

std::string captionLine(const Progress& progress) {
    const int level = progress.levelIndex;
    const int best = level >= 0 && level < RecordCount ? progress.bestTimes[level] : 0;
    return "Level:" + std::to_string(level % 5 + 1) + "   Zone:" + std::to_string(level / 5) +
           "   Best: " + levelTimeText(best) + "   Rank: " + rankName(progress.rankIndex);
}
