#include "media/file_table.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// The reason for the call that just failed; a short write or read may come without one.
std::string lastCallFailure(const char* withoutReason = "the write was cut short") {
    return errno != 0 ? std::strerror(errno) : withoutReason;
}

}  // namespace

FileTable::~FileTable() {
    for (auto& [handle, open] : streams) {
        if (open.file) std::fclose(open.file);
        if (open.writing) std::remove(open.sidePath.c_str());  // never finished: the old file stays
    }
}

std::string FileTable::normalisePath(const std::string& path) {
    std::string result = path;
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

Stream FileTable::openForRead(const std::string& path) {
    const std::string name = normalisePath(path);
    // A folder opens like a file on this system but cannot be read.
    std::error_code error;
    if (std::filesystem::is_directory(name, error)) return 0;
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (!file) return 0;
    const int handle = nextHandle++;
    streams[handle] = OpenFile{file, name, "", false, ""};
    return handle;
}

Stream FileTable::openForWrite(const std::string& path) {
    // Write beside the real file and swap it in on close, so a crash or a full
    // disk part-way through never destroys what was there before.
    const std::string name = normalisePath(path);
    const std::string side = name + ".part";
    errno = 0;
    std::FILE* file = writeCalls.open(side.c_str(), "wb");
    if (!file) {
        noteFailure(lastCallFailure());
        return 0;
    }
    const int handle = nextHandle++;
    streams[handle] = OpenFile{file, name, side, true, ""};
    return handle;
}

bool FileTable::close(Stream stream) {
    auto it = streams.find(stream);
    if (it == streams.end()) return true;
    bool landed = true;
    if (it->second.writing)
        landed = finishWrite(it->second);
    else
        std::fclose(it->second.file);
    streams.erase(it);
    return landed;
}

// Every step must succeed before the side file replaces the real one; the file is
// closed whatever happened, and a side file that did not make it is removed.
bool FileTable::finishWrite(OpenFile& open) {
    std::string failure = open.failure;
    const auto step = [&failure](auto call) {
        if (!failure.empty()) return;
        errno = 0;
        if (call() != 0) failure = lastCallFailure();
    };
    step([&] { return writeCalls.flush(open.file); });
    step([&] { return writeCalls.sync(fileno(open.file)); });
    errno = 0;
    if (writeCalls.close(open.file) != 0 && failure.empty()) failure = lastCallFailure();
    open.file = nullptr;
    step([&] { return writeCalls.rename(open.sidePath.c_str(), open.path.c_str()); });
    if (failure.empty()) return true;
    std::remove(open.sidePath.c_str());
    noteFailure(failure);
    return false;
}

int FileTable::readU8(Stream stream) {
    auto it = streams.find(stream);
    if (it == streams.end() || it->second.writing) return 0;
    const int byte = std::fgetc(it->second.file);
    if (byte != EOF) return byte;
    if (std::ferror(it->second.file) && onFatal) onFatal("cannot read " + it->second.path);
    return 0;
}

int32_t FileTable::readI32(Stream stream) {
    uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) value |= static_cast<uint32_t>(readU8(stream)) << shift;
    return static_cast<int32_t>(value);
}

void FileTable::writeI32(Stream stream, int32_t value) {
    auto it = streams.find(stream);
    if (it == streams.end() || !it->second.writing) return;
    const uint32_t bits = static_cast<uint32_t>(value);
    const unsigned char bytes[4] = {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                                    static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
    OpenFile& open = it->second;
    if (!open.failure.empty()) return;
    errno = 0;
    if (writeCalls.write(bytes, 1, 4, open.file) != 4) open.failure = lastCallFailure();
}

bool FileTable::readWhole(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes) {
    bytes.clear();
    // A folder opens like a file on this system but cannot be read: it is no picture or sound.
    std::error_code error;
    if (std::filesystem::is_directory(normalisePath(path), error)) return false;
    std::FILE* file = std::fopen(normalisePath(path).c_str(), "rb");
    if (!file) return false;
    // Read in pieces and stop one byte past the limit: an oversized file is refused
    // without ever being held whole, whatever its size claims to be.
    uint8_t buffer[65536];
    size_t got = 0;
    bool tooLarge = false;
    while (!tooLarge && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + std::min(got, maxBytes + 1 - bytes.size()));
        tooLarge = bytes.size() > maxBytes;
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed && onFatal) onFatal("cannot read " + normalisePath(path));
    if (!tooLarge) return !failed;
    bytes.clear();
    bytes.shrink_to_fit();
    return false;
}

void FileTable::noteFailure(const std::string& reason, bool missing) {
    errorText = reason;
    errorMissing = missing;
}

FileRead FileTable::readStart(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const std::string name = normalisePath(path);
    errno = 0;
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (!file) {
        // Not there at all, or a folder on the way is not there.
        noteFailure(std::strerror(errno), errno == ENOENT || errno == ENOTDIR);
        return errorMissing ? FileRead::Missing : FileRead::Unreadable;
    }
    bytes.resize(maxBytes);
    errno = 0;
    bytes.resize(std::fread(bytes.data(), 1, maxBytes, file));
    // A folder opens like a file here; reading it fails.
    const bool failed = std::ferror(file) != 0;
    if (failed) noteFailure(lastCallFailure("the read failed"));
    std::fclose(file);
    return failed ? FileRead::Unreadable : FileRead::Read;
}

bool FileTable::createFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(normalisePath(path), error);
    if (error) noteFailure(error.message());
    return !error;
}

DirectoryListing FileTable::openDirectory(const std::string& path) {
    errno = 0;
    DIR* dir = opendir(normalisePath(path).c_str());
    if (!dir) {
        noteFailure(std::strerror(errno), errno == ENOENT);
        return 0;
    }
    std::vector<std::string> names;
    while (dirent* entry = readdir(dir)) names.emplace_back(entry->d_name);
    closedir(dir);
    // Sorted by name, so the music order is the same on every machine.
    std::sort(names.begin(), names.end());
    const int handle = nextHandle++;
    listings[handle] = std::move(names);
    listingPositions[handle] = 0;
    return handle;
}

std::string FileTable::nextEntry(DirectoryListing listing) {
    auto it = listings.find(listing);
    if (it == listings.end()) return "";
    size_t& position = listingPositions[listing];
    if (position >= it->second.size()) return "";
    return it->second[position++];
}

void FileTable::closeDirectory(DirectoryListing listing) {
    listings.erase(listing);
    listingPositions.erase(listing);
}
