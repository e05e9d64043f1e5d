#pragma once
// The player's progress and the two small files that carry it between runs.

#include <array>

class MediaLayer;

constexpr int RecordCount = 78;
constexpr int SavedRankCount = 10;  // rankIndex 0..9
// 99:59 in frames: the shipped best time of every level, beaten by any real time.
constexpr int UnbeatenTime = 359940;

struct Progress {
    int levelIndex = 0;   // 0..77; zone shown = levelIndex / 5, level shown = levelIndex % 5 + 1
    int rankIndex = 0;    // 0..9 into the rank names
    int rankPoints = 0;   // never saved: lives for the run
    int carriedValue = 0; // the saved game's last field, written back as read
    std::array<int, RecordCount> bestTimes{};  // frames
};

// "oldgame.cws": the 78 best times.
void loadRecords(MediaLayer& media, Progress& progress);
void saveRecords(MediaLayer& media, const Progress& progress);
// "oldgame.cwm": rank, level, check value, carried value.
bool probeSavedGame(MediaLayer& media);
void loadGame(MediaLayer& media, Progress& progress);
void saveGame(MediaLayer& media, const Progress& progress);
