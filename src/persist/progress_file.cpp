#include "persist/progress_file.h"

#include <vector>

#include "media/media_layer.h"
#include "persist/progress.h"

const char* const SavedGameFileName = "oldgame.cwm";
const char* const RecordsFileName = "oldgame.cws";

std::string progressPath(const ProgressFileState& files, const std::string& name) {
    if (files.folder.empty()) return name;
    return files.folder.back() == '/' ? files.folder + name : files.folder + "/" + name;
}

ValuesRead readProgressValues(MediaLayer& media, const ProgressFileState& files, const std::string& path,
                              std::span<int32_t> values) {
    ValuesRead read;
    if (files.kept) read.result = media.readFileStart(path, values.size() * 4, read.bytes);
    const std::vector<uint8_t>& bytes = read.bytes;
    for (size_t i = 0; i < values.size(); ++i) {
        uint32_t value = 0;
        for (size_t byte = 0; byte < 4 && i * 4 + byte < bytes.size(); ++byte)
            value |= static_cast<uint32_t>(bytes[i * 4 + byte]) << (8 * byte);
        values[i] = static_cast<int32_t>(value);
    }
    return read;
}

void reportUnreadable(MediaLayer& media, const std::string& path) {
    media.warning("cannot read " + path + " (" + media.fileError() + "); it is left untouched");
}

void reportSaveFailure(MediaLayer& media, ProgressFileState& files, const std::string& path, const std::string& message,
                       const UnsavedFile& shown) {
    if (files.unsavedFiles.find(path) == files.unsavedFiles.end()) media.warning(message);
    files.unsavedFiles[path] = shown;
    files.latestUnsaved = path;
}

void reportFailedWrite(MediaLayer& media, ProgressFileState& files, const std::string& path,
                       const std::string& reason) {
    // Said as it is now: a file there is the previous one, as the failed write left it.
    const bool previousKept = media.isRegularFile(path);
    reportSaveFailure(media, files, path, saveFailureMessage(path, reason, previousKept),
                      unsavedFileLines(path, reason, previousKept));
}

void noteSaved(ProgressFileState& files, const std::string& path) { files.unsavedFiles.erase(path); }

const UnsavedFile* unsavedFileToShow(const ProgressFileState& files) {
    if (files.unsavedFiles.empty()) return nullptr;
    const auto latest = files.unsavedFiles.find(files.latestUnsaved);
    return &(latest != files.unsavedFiles.end() ? latest : files.unsavedFiles.begin())->second;
}

void writeProgressValues(MediaLayer& media, ProgressFileState& files, const std::string& path,
                         std::span<const int32_t> values, SaveTiming timing) {
    if (!files.kept)
        return reportSaveFailure(
            media, files, "",
            "progress not saved: the game is installed and there is no "
            "data folder of the player's to keep it in (no home folder)",
            UnsavedFile{"Progress not saved: there is no data folder for this player (no home folder)",
                        "Progress not saved: no data folder"});
    std::vector<uint8_t> bytes;
    bytes.reserve(values.size() * 4);
    for (int32_t value : values)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> shift));
    // The media layer makes a missing folder of the file (it was made at start-up, but may
    // have gone since).
    if (timing == SaveTiming::Soon) return media.replaceFileSoon(path, std::move(bytes));
    if (media.replaceFile(path, bytes))
        noteSaved(files, path);
    else
        reportFailedWrite(media, files, path, media.fileError());
}
