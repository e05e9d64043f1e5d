#include "persist/progress_file.h"

#include <vector>

#include "media/media_layer.h"
#include "persist/progress.h"

std::string progressPath(const ProgressFileState& files, const std::string& name) {
    if (files.folder.empty()) return name;
    return files.folder.back() == '/' ? files.folder + name : files.folder + "/" + name;
}

FileRead readProgressValues(MediaLayer& media, const std::string& path, std::span<int32_t> values) {
    std::vector<uint8_t> bytes;
    const FileRead result = media.readFileStart(path, values.size() * 4, bytes);
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

void writeProgressValues(MediaLayer& media, const ProgressFileState& files, const std::string& path,
                         std::span<const int32_t> values) {
    const auto fail = [&] {
        media.warning("could not save " + path + " (" + media.fileError() + "); the previous file is kept");
    };
    // The folder in the player's home is made on the first save, not before.
    if (!files.folder.empty() && !media.createFolder(files.folder)) return fail();
    const Stream stream = media.openForWrite(path);
    if (stream == 0) return fail();
    for (int32_t value : values) media.writeI32(stream, value);
    if (!media.closeStream(stream)) fail();
}
