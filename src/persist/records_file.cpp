#include "media/media_layer.h"
#include "persist/progress.h"
#include "persist/progress_file.h"

namespace {
const char* const RecordsName = "oldgame.cws";
}

void loadRecords(MediaLayer& media, Progress& progress) {
    std::array<int32_t, RecordCount> values{};
    const std::string path = progressPath(progress.files, RecordsName);
    const FileRead result = readProgressValues(media, path, values);
    progress.files.recordsUnreadable = result == FileRead::Unreadable;
    if (result == FileRead::Unreadable) reportUnreadable(media, path);
    if (result != FileRead::Read) {
        // A first run in this folder, or records that were deleted or cannot be read:
        // start from the shipped times so best times can still be set.
        progress.bestTimes.fill(UnbeatenTime);
        return;
    }
    // A short file leaves its missing entries at 0.
    std::copy(values.begin(), values.end(), progress.bestTimes.begin());
}

void saveRecords(MediaLayer& media, const Progress& progress) {
    const std::string path = progressPath(progress.files, RecordsName);
    if (progress.files.recordsUnreadable) {
        // Its times were never read; writing this run's over them would lose them.
        media.warning("best times not saved: " + path + " could not be read, so it is left untouched");
        return;
    }
    std::array<int32_t, RecordCount> values{};
    std::copy(progress.bestTimes.begin(), progress.bestTimes.end(), values.begin());
    writeProgressValues(media, progress.files, path, values);
}
