#include "play/level_summary.h"

#include "play/game.h"
#include "play/scene.h"

namespace {

constexpr int PlateLeft = 190, PlateRight = 610;
constexpr float PlateAlpha = 0.55f;
constexpr int PointsPerLevel = 50, PointsPerCleaning = 5;
constexpr int RankUpAbove = 150;  // the rank rises once the points pass this
constexpr int NoticeY = 330;

void drawWhiteLine(MediaLayer& media, const SpriteFont& font, const ScreenFade& fade, int y, const std::string& text) {
    media.setDrawColour(255, 255, 255);
    drawText(media, font, ScreenCentreX, y, text, AlignCentre);
    setFadeColour(media, fade);
}

}  // namespace

std::string summaryTimeLine(const LevelState& level, const Progress& progress) {
    const int best = progress.bestTimes[static_cast<size_t>(progress.levelIndex)];
    std::string line = "Time " + levelTimeText(level.levelFrames) + "   ";
    if (best >= UnbeatenTime)
        line += "first clear";
    else if (level.levelFrames < best)
        line += "Best " + levelTimeText(best) + ", beaten";
    else
        line += "Best " + levelTimeText(best) + " stands";
    const int points = PointsPerLevel + PointsPerCleaning * level.cleanings;
    return line + "   +" + std::to_string(points) + " points";
}

std::string summaryRankLine(const Progress& progress) {
    const int points = progress.rankPoints + PointsPerLevel;
    const std::string rank = "Rank: " + rankName(progress.rankIndex);
    if (progress.rankIndex >= RankCount - 1) return rank + ", the top rank";
    if (points > RankUpAbove) return rank + ", rising to " + rankName(progress.rankIndex + 1);
    return rank + ", " + std::to_string(RankUpAbove + 1 - points) + " points to " + rankName(progress.rankIndex + 1);
}

void drawCaptionPlate(MediaLayer& media, const ScreenFade& fade, int top, int bottom) {
    media.setDrawColour(0, 0, 0);
    media.setDrawAlpha(PlateAlpha);
    media.drawRect(PlateLeft, static_cast<float>(top), PlateRight - PlateLeft, static_cast<float>(bottom - top));
    media.setDrawAlpha(1.0f);
    setFadeColour(media, fade);
}

void drawLevelSummary(MediaLayer& media, const SpriteFont& font, const ScreenFade& fade, const LevelState& level,
                      const Progress& progress) {
    drawWhiteLine(media, font, fade, SummaryLineY, summaryTimeLine(level, progress));
    drawWhiteLine(media, font, fade, SummaryRankY, summaryRankLine(progress));
}

void drawRankUpNotice(MediaLayer& media, const SpriteFont& font, const ScreenFade& fade, RankUpNotice& notice) {
    if (notice.framesLeft <= 0) return;
    notice.framesLeft -= 1;
    // Tall enough for the start caption above it too, which is drawn over it.
    drawCaptionPlate(media, fade, NoticeY - 38, NoticeY + 22);
    media.setDrawColour(255, 230, 140);
    drawText(media, font, ScreenCentreX, NoticeY, "New rank: " + rankName(notice.rankIndex), AlignCentre);
    setFadeColour(media, fade);
}
