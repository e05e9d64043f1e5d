#pragma once
// The player's progress and the two small files that carry it between runs.

#include <array>
#include <map>
#include <string>

#include "media/files/file_types.h"

class MediaLayer;

constexpr int RecordCount = 78;
constexpr int SavedRankCount = 10;  // rankIndex 0..9
// 99:59 in frames: the shipped best time of every level, beaten by any real time.
constexpr int UnbeatenTime = 359940;

// A save that failed, as the player is told on screen until a save of that file works.
struct UnsavedFile {
    std::string line;       // the menu's: what was not saved, where and why, and whether the previous file is kept
    std::string shortLine;  // play's, which leaves the board and the hint boxes their room
};

// Where the two files live, and which of them this run must leave alone.
struct ProgressFileState {
    std::string folder;                               // "" = the working folder; otherwise made (0700) at start-up
    bool kept = true;                                 // false: no folder at all (nothing read, nothing written)
    bool recordsUnreadable = false;                   // there but unreadable: never overwritten in this run
    bool savedGameUnreadable = false;                 // the same, as of the last look at the saved game
    std::map<std::string, UnsavedFile> unsavedFiles;  // files whose last save failed, and was said to
    std::string latestUnsaved;                        // of those, the one that failed last
};

struct Progress {
    int levelIndex = 0;                        // 0..77; zone shown = levelIndex / 5, level shown = levelIndex % 5 + 1
    int rankIndex = 0;                         // 0..9 into the rank names
    int rankPoints = 0;                        // never saved: lives for the run
    int carriedValue = 0;                      // the saved game's last field, written back as read
    std::array<int, RecordCount> bestTimes{};  // frames
    ProgressFileState files;
};

// A file that is there but cannot be read is not a first run: it is named in a warning
// and left untouched by every later save of the run. A save that fails says where and
// why, once until a save of that file works again, keeps the previous file as it was,
// and play goes on.

// One copy of the game at a time per progress folder: makes the folder when it is missing
// and takes the lock of its "cablewright.lock" for the rest of the run. HeldElsewhere: another
// copy plays from the folder, and this one must touch nothing in it. Failed (said in a
// warning): the game plays on unguarded.
LockResult lockProgressFolder(MediaLayer& media, const Progress& progress);

// "oldgame.cws": the 78 best times. Missing: the shipped times. Short, or with a tail that
// cannot be read: the entries it lacks are unplayed (99:59), a warning says so, and the file
// as it was is kept beside as "oldgame.cws.damaged" before any save replaces it.
void loadRecords(MediaLayer& media, Progress& progress);
void saveRecords(MediaLayer& media, Progress& progress);
// "oldgame.cwm": rank, level, check value, carried value.
// Whether the saved game can be read, noting in progress.files when it is there but cannot.
bool probeSavedGame(MediaLayer& media, Progress& progress);
void loadGame(MediaLayer& media, Progress& progress);
// Where the saved game stands, as Continue would take it up, read without changing progress.
struct SavedPlace {
    bool present = false;
    int rankIndex = 0, levelIndex = 0;
};
SavedPlace peekSavedGame(MediaLayer& media, Progress& progress);
void saveGame(MediaLayer& media, Progress& progress);

// Both files as leaving play writes them: the saved game, then the records.
void saveProgress(MediaLayer& media, Progress& progress);
// The same two files written off the frame's path (a busy disk can take longer than a
// frame): the bytes are taken now and land a little later, before any later save.
void saveProgressSoon(MediaLayer& media, Progress& progress);
// Reports the saves of saveProgressSoon that have failed since the last call.
void noteFinishedSaves(MediaLayer& media, Progress& progress);
// Removes the side files that a save killed part-way left in the progress folder.
void removeUnfinishedSaves(MediaLayer& media, const Progress& progress);
// The failed save the player is shown, the latest first; nullptr while every save works.
const UnsavedFile* unsavedFileToShow(const ProgressFileState& files);
