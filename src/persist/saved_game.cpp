#include "media/media_layer.h"
#include "persist/progress.h"

namespace {
const char* const SavedGamePath = "oldgame.cwm";
constexpr int LastLevel = RecordCount - 1;
constexpr int LastRank = SavedRankCount - 1;
}  // namespace

bool probeSavedGame(MediaLayer& media) {
    const Stream stream = media.openForRead(SavedGamePath);
    if (stream == 0) return false;
    media.closeStream(stream);
    return true;
}

void loadGame(MediaLayer& media, Progress& progress) {
    const Stream stream = media.openForRead(SavedGamePath);
    progress.rankIndex = media.readI32(stream);
    progress.levelIndex = media.readI32(stream);
    const int32_t check = media.readI32(stream);
    progress.carriedValue = media.readI32(stream);
    media.closeStream(stream);

    // The check is a plain 32-bit sum; wrap-around is part of the format.
    const auto sum = static_cast<int32_t>(static_cast<uint32_t>(progress.rankIndex) +
                                          static_cast<uint32_t>(progress.levelIndex));
    // A tampered file, or values that pass the check but lie outside the game
    // (they would index past the levels and rank names), start afresh.
    const bool inRange = progress.rankIndex >= 0 && progress.rankIndex <= LastRank && progress.levelIndex >= 0 &&
                         progress.levelIndex <= LastLevel;
    if (check != sum || !inRange) {
        progress.rankIndex = 0;
        progress.levelIndex = 0;
    }
}

void saveGame(MediaLayer& media, const Progress& progress) {
    const Stream stream = media.openForWrite(SavedGamePath);
    media.writeI32(stream, progress.rankIndex);
    media.writeI32(stream, progress.levelIndex);
    media.writeI32(stream, static_cast<int32_t>(static_cast<uint32_t>(progress.rankIndex) +
                                                static_cast<uint32_t>(progress.levelIndex)));
    media.writeI32(stream, progress.carriedValue);
    media.closeStream(stream);
}
