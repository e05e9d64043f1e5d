#include "media/media_layer.h"
#include "persist/progress.h"
#include "persist/progress_file.h"

namespace {

constexpr size_t RecordsBytes = RecordCount * 4;

std::string levelsText(int first, int last) {
    return first == last ? "level " + std::to_string(first)
                         : "levels " + std::to_string(first) + " to " + std::to_string(last);
}

// A file cut short, or one whose end cannot be read: the entries it holds whole are kept,
// the others are unplayed, and the file as it was goes beside it before a save can replace
// it. When it cannot go there, this run leaves the records alone.
void takeDamagedRecords(MediaLayer& media, Progress& progress, const std::string& path, const ValuesRead& read) {
    const int whole = static_cast<int>(read.bytes.size() / 4);
    std::fill(progress.bestTimes.begin() + whole, progress.bestTimes.end(), UnbeatenTime);
    const std::string what =
        read.result == FileRead::Read
            ? "it holds " + std::to_string(read.bytes.size()) + " of its " + std::to_string(RecordsBytes) + " bytes"
            : "it cannot be read past byte " + std::to_string(read.bytes.size()) + ": " + media.fileError();
    const std::string aside = path + ".damaged";
    const bool keptAside = media.replaceFile(aside, read.bytes);
    progress.files.recordsUnreadable = !keptAside;
    media.warning(path + " is damaged (" + what + "): the best times of " + levelsText(whole + 1, RecordCount) +
                  " read as 99:59; " +
                  (keptAside
                       ? "the damaged file is kept as " + aside
                       : "it could not be kept as " + aside + " (" + media.fileError() + "), so it is left untouched"));
}

}  // namespace

void loadRecords(MediaLayer& media, Progress& progress) {
    std::array<int32_t, RecordCount> values{};
    const std::string path = progressPath(progress.files, RecordsFileName);
    const ValuesRead read = readProgressValues(media, progress.files, path, values);
    std::copy(values.begin(), values.end(), progress.bestTimes.begin());
    const bool readPart = read.result == FileRead::Unreadable && !read.bytes.empty();
    if (read.bytes.size() < RecordsBytes && (read.result == FileRead::Read || readPart))
        return takeDamagedRecords(media, progress, path, read);
    progress.files.recordsUnreadable = read.result == FileRead::Unreadable;
    if (read.result == FileRead::Unreadable) reportUnreadable(media, path);
    // A first run in this folder, or records that were deleted or cannot be read at all:
    // start from the shipped times so best times can still be set.
    if (read.result != FileRead::Read) progress.bestTimes.fill(UnbeatenTime);
}

void saveRecords(MediaLayer& media, Progress& progress) { saveRecordsAt(media, progress, SaveTiming::Now); }

void saveRecordsAt(MediaLayer& media, Progress& progress, SaveTiming timing) {
    const std::string path = progressPath(progress.files, RecordsFileName);
    if (progress.files.recordsUnreadable) {
        // Its times were never read; writing this run's over them would lose them.
        reportSaveFailure(media, progress.files, path,
                          "best times not saved: " + path + " could not be read, so it is left untouched",
                          untouchedFileLines("Best times", path, "could not be read"));
        return;
    }
    std::array<int32_t, RecordCount> values{};
    std::copy(progress.bestTimes.begin(), progress.bestTimes.end(), values.begin());
    writeProgressValues(media, progress.files, path, values, timing);
}
