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

FileRead readProgressValues(MediaLayer& media, const ProgressFileState& files, const std::string& path,
                            std::span<int32_t> values) {
    std::vector<uint8_t> bytes;
    const FileRead result = files.kept ? media.readFileStart(path, values.size() * 4, bytes) : FileRead::Missing;
    for (size_t i = 0; i < values.size(); ++i) {
        uint32_t value = 0;
        for (size_t byte = 0; byte < 4 && i * 4 + byte < bytes.size(); ++byte)
            value |= static_cast<uint32_t>(bytes[i * 4 + byte]) << (8 * byte);
        values[i] = static_cast<int32_t>(value);
    }
    return result;
}

void reportUnreadable(MediaLayer& media, const std::string& path) {
    media.warning("cannot read " + path + " (" + media.fileError() + "); it is left untouched");
}

void reportSaveFailure(MediaLayer& media, ProgressFileState& files, const std::string& path,
                       const std::string& message) {
    if (files.unsavedFiles.insert(path).second) media.warning(message);
}

void noteSaved(ProgressFileState& files, const std::string& path) { files.unsavedFiles.erase(path); }

void writeProgressValues(MediaLayer& media, ProgressFileState& files, const std::string& path,
                         std::span<const int32_t> values, SaveTiming timing) {
    if (!files.kept)
        return reportSaveFailure(media, files, "",
                                 "progress not saved: the game is installed and there is no "
                                 "data folder of the player's to keep it in (no home folder)");
    std::vector<uint8_t> bytes;
    bytes.reserve(values.size() * 4);
    for (int32_t value : values)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> shift));
    // The folder in the player's home is made with the first save, not before (the
    // media layer makes a missing folder of the file).
    if (timing == SaveTiming::Soon) return media.replaceFileSoon(path, std::move(bytes));
    if (media.replaceFile(path, bytes))
        noteSaved(files, path);
    else
        reportSaveFailure(media, files, path, saveFailureMessage(path, media.fileError()));
}

std::string saveFailureMessage(const std::string& path, const std::string& reason) {
    return "could not save " + path + " (" + reason + "); the previous file is kept";
}
