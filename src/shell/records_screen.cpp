#include "shell/records_screen.h"

#include "play/game.h"
#include "play/scene.h"
#include "shell/menu_overlay.h"
#include "shell/shell_state.h"

namespace {

constexpr int TitleY = 100, StandingY = 120, HeaderY = 142;
constexpr int FirstRowY = 160, RowPitch = 17;
constexpr int ZoneLabelX = 190, FirstColumnX = 300, ColumnPitch = 70;
constexpr int LevelsPerZone = 5;
constexpr int CellHalfWidth = 30;

std::string standingLine(const Progress& progress, const SavedPlace& place) {
    const int rank = place.present ? place.rankIndex : progress.rankIndex;
    std::string line = "Rank: " + rankName(rank) + "   ";
    if (!place.present) return line + "No game in play";
    return line + "In play: Zone " + std::to_string(place.levelIndex / LevelsPerZone) + " / Level " +
           std::to_string(place.levelIndex % LevelsPerZone + 1);
}

void drawHeader(MediaLayer& media, const SpriteFont& font) {
    for (int level = 0; level < LevelsPerZone; ++level)
        drawText(media, font, FirstColumnX + ColumnPitch * level, HeaderY, "Level " + std::to_string(level + 1),
                 AlignCentre);
}

void markLevelInPlay(MediaLayer& media, const ScreenFade& fade, const RecordCell& cell) {
    setFadedColour(media, fade, 30, 120, 150);
    media.setDrawAlpha(0.85f);
    media.drawRect(static_cast<float>(cell.x - CellHalfWidth), static_cast<float>(cell.y - 2), 2 * CellHalfWidth,
                   RowPitch);
    media.setDrawAlpha(1.0f);
}

void drawTimes(Game& game, int levelInPlay) {
    MediaLayer& media = game.media;
    for (int level = 0; level < RecordCount; ++level) {
        const RecordCell cell = recordCell(level);
        if (level % LevelsPerZone == 0) {
            setFadeColour(media, game.fade);
            drawText(media, game.font, ZoneLabelX, cell.y, "Zone " + std::to_string(level / LevelsPerZone), AlignLeft);
        }
        const bool inPlay = level == levelInPlay;
        if (inPlay) markLevelInPlay(media, game.fade, cell);
        if (inPlay)
            setFadeColour(media, game.fade);
        else
            setFadedColour(media, game.fade, 150, 175, 185);
        drawText(media, game.font, cell.x, cell.y, recordTimeText(game.progress.bestTimes[static_cast<size_t>(level)]),
                 AlignCentre);
    }
    setFadeColour(media, game.fade);
}

}  // namespace

RecordCell recordCell(int levelIndex) {
    return {FirstColumnX + ColumnPitch * (levelIndex % LevelsPerZone),
            FirstRowY + RowPitch * (levelIndex / LevelsPerZone)};
}

std::string recordTimeText(int frames) {
    // No real level ends on its first frame, nor as late as the shipped time.
    if (frames <= 0 || frames >= UnbeatenTime) return "--:--";
    return levelTimeText(frames);
}

void openRecordsScreen(Game& game, ShellState& shell) { shell.recordsPlace = peekSavedGame(game.media, game.progress); }

void drawRecordsScreen(Game& game, ShellState& shell) {
    MediaLayer& media = game.media;
    drawOverlayPlate(media, *game.res.canvas[2], game.fade);
    drawText(media, game.font, ScreenCentreX, TitleY, "Records", AlignCentre);
    drawText(media, game.font, ScreenCentreX, StandingY, standingLine(game.progress, shell.recordsPlace), AlignCentre);
    drawHeader(media, game.font);
    drawTimes(game, shell.recordsPlace.present ? shell.recordsPlace.levelIndex : -1);
    runOverlayButton(game, BackButton, shell.glowLevels[BackButton]);
}
