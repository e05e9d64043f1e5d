#include "media/files/file_table.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "media/files/private_folders.h"
#include "media/files/regular_file.h"

FileTable::~FileTable() {
    // A write stream never closed leaves the old file as it was (its side file goes with it).
    for (auto& [handle, open] : streams)
        if (open.file) std::fclose(open.file);
}

std::string FileTable::normalisePath(const std::string& path) {
    std::string result = path;
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

Stream FileTable::openForRead(const std::string& path) {
    const std::string name = normalisePath(path);
    OpenedFile opened = openRegularFile(name);
    if (!opened.file) {
        noteFailure(opened.failure, opened.missing);
        return 0;
    }
    const int handle = nextHandle++;
    streams[handle] = OpenFile{opened.file, name, nullptr};
    return handle;
}

Stream FileTable::openForWrite(const std::string& path) {
    // Write beside the real file and swap it in on close, so a crash or a full disk
    // part-way through never destroys what was there before.
    const std::string name = normalisePath(path);
    writer.drain();  // an earlier queued write of the file must not land after this one
    auto side = std::make_unique<SideFile>(name, writeCalls);
    if (!side->opened()) {
        noteFailure(side->failure());
        return 0;
    }
    const int handle = nextHandle++;
    streams[handle] = OpenFile{nullptr, name, std::move(side)};
    return handle;
}

bool FileTable::close(Stream stream) {
    auto it = streams.find(stream);
    if (it == streams.end()) return true;
    bool landed = true;
    if (it->second.write) {
        landed = it->second.write->finish();
        if (!landed) noteFailure(it->second.write->failure());
    } else {
        std::fclose(it->second.file);
    }
    streams.erase(it);
    return landed;
}

int FileTable::readU8(Stream stream) {
    auto it = streams.find(stream);
    if (it == streams.end() || !it->second.file) return 0;
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
    if (it == streams.end() || !it->second.write) return;
    const uint32_t bits = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                              static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
    it->second.write->write(bytes);
}

bool FileTable::readWhole(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes, size_t headBytes,
                          const HeadCheck& acceptHead, std::string* failure) {
    bytes.clear();
    const std::string name = normalisePath(path);
    OpenedFile opened = openRegularFile(name);
    if (!opened.file) {
        if (failure) *failure = opened.failure;
        return false;
    }
    const uint64_t size = opened.size;
    if (size > maxBytes && failure)
        *failure = "too large: " + std::to_string(size) + " bytes, more than " + std::to_string(maxBytes);
    // The file as it was measured: one growing meanwhile is not followed past that.
    const auto readUpTo = [&](uint64_t end) {
        const size_t from = bytes.size();
        bytes.resize(static_cast<size_t>(end));
        bytes.resize(from + std::fread(bytes.data() + from, 1, bytes.size() - from, opened.file));
        return std::ferror(opened.file) == 0;
    };
    // Refused from its size, before a byte is read or held; or from its first bytes.
    bool read = size <= maxBytes;
    if (read && acceptHead) read = readUpTo(std::min<uint64_t>(size, headBytes)) && acceptHead(bytes, size);
    if (read) read = readUpTo(size);
    const bool failed = std::ferror(opened.file) != 0;
    std::fclose(opened.file);
    if (failed && onFatal) onFatal("cannot read " + name);
    if (!read || failed) {
        bytes.clear();
        bytes.shrink_to_fit();
    }
    return read && !failed;
}

void FileTable::noteFailure(const std::string& reason, bool missing) {
    failureText = reason;
    errorMissing = missing;
}

FileRead FileTable::readStart(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const std::string name = normalisePath(path);
    OpenedFile opened = openRegularFile(name);
    if (!opened.file) {
        noteFailure(opened.failure, opened.missing);
        return opened.missing ? FileRead::Missing : FileRead::Unreadable;
    }
    bytes.resize(maxBytes);
    errno = 0;
    bytes.resize(std::fread(bytes.data(), 1, maxBytes, opened.file));
    const bool failed = std::ferror(opened.file) != 0;
    if (failed) noteFailure(errno != 0 ? errorText(errno) : "the read failed");
    std::fclose(opened.file);
    return failed ? FileRead::Unreadable : FileRead::Read;
}

bool FileTable::replace(const std::string& path, std::span<const uint8_t> bytes) {
    writer.drain();
    const std::string failure = replaceFileWith(normalisePath(path), bytes, writeCalls);
    if (!failure.empty()) noteFailure(failure);
    return failure.empty();
}

void FileTable::replaceSoon(const std::string& path, std::vector<uint8_t> bytes) {
    writer.queue(normalisePath(path), std::move(bytes), writeCalls);
}

void FileTable::removeUnfinishedWrite(const std::string& path) {
    const std::filesystem::path file(normalisePath(path));
    const std::filesystem::path folder = file.parent_path();
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    const std::string fileName = file.filename().string();
    std::vector<std::string> sideFiles;
    while (dirent* entry = readdir(dir))
        if (isSideFileOf(entry->d_name, fileName)) sideFiles.emplace_back(entry->d_name);
    closedir(dir);
    // unlink, not remove: a folder of that name is no side file of ours.
    for (const std::string& name : sideFiles) ::unlink((folder / name).c_str());
}

bool FileTable::createFolder(const std::string& path) {
    const std::string failure = makePrivateFolders(normalisePath(path));
    if (!failure.empty()) noteFailure(failure);
    return failure.empty();
}

LockResult FileTable::lockFile(const std::string& path) {
    const LockResult result = lock.take(normalisePath(path));
    if (result == LockResult::Failed) noteFailure(lock.failure());
    return result;
}

bool FileTable::isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(normalisePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

DirectoryListing FileTable::openDirectory(const std::string& path) {
    errno = 0;
    DIR* dir = opendir(normalisePath(path).c_str());
    if (!dir) {
        const int error = errno;
        noteFailure(errorText(error), error == ENOENT);
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
