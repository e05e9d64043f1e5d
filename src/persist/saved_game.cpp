#include "media/media_layer.h"
#include "persist/progress.h"
#include "persist/progress_file.h"

namespace {
constexpr int SavedGameValues = 4;
constexpr int LastLevel = RecordCount - 1;
constexpr int LastRank = SavedRankCount - 1;

// The check is a plain 32-bit sum; wrap-around is part of the format.
int32_t checkValue(int32_t rankIndex, int32_t levelIndex) {
    return static_cast<int32_t>(static_cast<uint32_t>(rankIndex) + static_cast<uint32_t>(levelIndex));
}

// Reads the saved game, noting whether it is there but unreadable. Only a newly
// unreadable file is reported, so the menu does not repeat it at every visit.
FileRead readSavedGame(MediaLayer& media, Progress& progress, std::span<int32_t> values) {
    const std::string path = progressPath(progress.files, SavedGameFileName);
    const FileRead result = readProgressValues(media, progress.files, path, values).result;
    const bool unreadable = result == FileRead::Unreadable;
    if (unreadable && !progress.files.savedGameUnreadable) reportUnreadable(media, path);
    progress.files.savedGameUnreadable = unreadable;
    return result;
}

// The rank and level of the values read. A tampered file, or values that pass the check but
// lie outside the game (they would index past the levels and rank names), start afresh.
SavedPlace placeOf(const std::array<int32_t, SavedGameValues>& values) {
    SavedPlace place{true, values[0], values[1]};
    const bool inRange =
        place.rankIndex >= 0 && place.rankIndex <= LastRank && place.levelIndex >= 0 && place.levelIndex <= LastLevel;
    if (values[2] != checkValue(place.rankIndex, place.levelIndex) || !inRange) place.rankIndex = place.levelIndex = 0;
    return place;
}
}  // namespace

bool probeSavedGame(MediaLayer& media, Progress& progress) {
    std::array<int32_t, SavedGameValues> values{};
    return readSavedGame(media, progress, values) == FileRead::Read;
}

void loadGame(MediaLayer& media, Progress& progress) {
    std::array<int32_t, SavedGameValues> values{};
    readSavedGame(media, progress, values);
    const SavedPlace place = placeOf(values);
    progress.rankIndex = place.rankIndex;
    progress.levelIndex = place.levelIndex;
    progress.carriedValue = values[3];
}

SavedPlace peekSavedGame(MediaLayer& media, Progress& progress) {
    std::array<int32_t, SavedGameValues> values{};
    if (readSavedGame(media, progress, values) != FileRead::Read) return SavedPlace{};
    return placeOf(values);
}

void saveGame(MediaLayer& media, Progress& progress) { saveGameAt(media, progress, SaveTiming::Now); }

void saveGameAt(MediaLayer& media, Progress& progress, SaveTiming timing) {
    const std::string path = progressPath(progress.files, SavedGameFileName);
    if (progress.files.savedGameUnreadable) {
        reportSaveFailure(media, progress.files, path,
                          "game not saved: " + path + " could not be read, so it is left untouched",
                          untouchedFileLines("Game", path, "could not be read"));
        return;
    }
    const std::array<int32_t, SavedGameValues> values{progress.rankIndex, progress.levelIndex,
                                                      checkValue(progress.rankIndex, progress.levelIndex),
                                                      progress.carriedValue};
    writeProgressValues(media, progress.files, path, values, timing);
}
