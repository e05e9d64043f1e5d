// Byte sources for the sound decoders.

#include "media/sound/byte_source.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "media/files/regular_file.h"

// ---- Memory ------------------------------------------------------------------------

size_t MemorySource::read(std::span<uint8_t> target) {
    const size_t count = static_cast<size_t>(std::min<uint64_t>(target.size(), bytes.size() - offset));
    // Nothing to copy from an empty buffer, whose data pointer may be null.
    if (count == 0) return 0;
    std::memcpy(target.data(), bytes.data() + offset, count);
    offset += count;
    return count;
}

bool MemorySource::seek(uint64_t position) {
    if (position > bytes.size()) return false;
    offset = position;
    return true;
}

// ---- Files -------------------------------------------------------------------------

std::unique_ptr<FileSource> FileSource::open(const std::string& path) {
    // Never a folder, and never a pipe or a device, whose open could wait for ever.
    OpenedFile opened = openRegularFile(path);
    if (!opened.file) return nullptr;
    return std::unique_ptr<FileSource>(new FileSource(opened.file));
}

FileSource::~FileSource() { std::fclose(file); }

size_t FileSource::read(std::span<uint8_t> target) {
    if (target.empty()) return 0;
    const size_t got = std::fread(target.data(), 1, target.size(), file);
    offset += got;
    if (got < target.size() && std::ferror(file)) readFailed = true;
    return got;
}

bool FileSource::seek(uint64_t position) {
    if (position > size()) return false;
    std::clearerr(file);
    if (fseeko(file, static_cast<off_t>(position), SEEK_SET) != 0) return false;
    offset = position;
    return true;
}

uint64_t FileSource::size() const {
    struct stat info {};
    if (fstat(fileno(file), &info) != 0) return 0;
    return static_cast<uint64_t>(info.st_size);
}
