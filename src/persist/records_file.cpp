#include "media/media_layer.h"
#include "persist/progress.h"
#include "persist/progress_file.h"

void loadRecords(MediaLayer& media, Progress& progress) {
    std::array<int32_t, RecordCount> values{};
    const std::string path = progressPath(progress.files, RecordsFileName);
    const FileRead result = readProgressValues(media, progress.files, path, values);
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

void saveRecords(MediaLayer& media, Progress& progress) { saveRecordsAt(media, progress, SaveTiming::Now); }

void saveRecordsAt(MediaLayer& media, Progress& progress, SaveTiming timing) {
    const std::string path = progressPath(progress.files, RecordsFileName);
    if (progress.files.recordsUnreadable) {
        // Its times were never read; writing this run's over them would lose them.
        reportSaveFailure(media, progress.files, path,
                          "best times not saved: " + path + " could not be read, so it is left untouched");
        return;
    }
    std::array<int32_t, RecordCount> values{};
    std::copy(progress.bestTimes.begin(), progress.bestTimes.end(), values.begin());
    writeProgressValues(media, progress.files, path, values, timing);
}
