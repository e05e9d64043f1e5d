#pragma once
// The reward moment, where the player asks for it: the completion caption on a plate with a
// summary under it, and a rise in rank named on a plate. The captions keep their frames; the
// plate and the summary are drawn only while the caption shows.

#include <string>

class MediaLayer;
struct LevelState;
struct Progress;
struct RankUpNotice;
struct ScreenFade;
struct SpriteFont;

constexpr int SummaryLineY = 330, SummaryRankY = 345;
constexpr int RankUpNoticeFrames = 240;

// "Time 01:23   Best 01:30, beaten   +55 points" for the level being completed, by its running time.
std::string summaryTimeLine(const LevelState& level, const Progress& progress);
// "Rank: User, 40 points to Gamer", what the level's points will make of the rank.
std::string summaryRankLine(const Progress& progress);
// The plate and the two summary lines, under the completion caption.
void drawLevelSummary(MediaLayer& media, const SpriteFont& font, const ScreenFade& fade, const LevelState& level,
                      const Progress& progress);
// A plate behind the caption lines from top to bottom (y), where the captions stand.
void drawCaptionPlate(MediaLayer& media, const ScreenFade& fade, int top, int bottom);
// The new rank on a plate, under the start caption where one shows, for a few seconds.
void drawRankUpNotice(MediaLayer& media, const SpriteFont& font, const ScreenFade& fade, RankUpNotice& notice);
