#pragma once
// Raw byte files behind integer handles, and folder listings.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using Stream = int;            // 0 means opening failed
using DirectoryListing = int;  // 0 means the folder could not be opened

class FileTable {
public:
    ~FileTable();
    // Called for a read failure other than the end of the file.
    std::function<void(const std::string&)> onFatal;

    Stream openForRead(const std::string& path);
    Stream openForWrite(const std::string& path);
    void close(Stream stream);
    // At the end of the file the missing bytes read as 0; a stream that failed to open reads as empty.
    int readU8(Stream stream);
    int32_t readI32(Stream stream);
    // Writes to a stream that failed to open are dropped.
    void writeI32(Stream stream, int32_t value);
    // Whole file; false (and no bytes) when it cannot be opened or holds more than maxBytes.
    bool readWhole(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes = NoSizeLimit);
    static constexpr size_t NoSizeLimit = SIZE_MAX - 1;

    DirectoryListing openDirectory(const std::string& path);
    std::string nextEntry(DirectoryListing listing);
    void closeDirectory(DirectoryListing listing);

    // '\' separators become '/'.
    static std::string normalisePath(const std::string& path);

private:
    struct OpenFile {
        std::FILE* file = nullptr;
        std::string path;       // the name the game asked for
        std::string sidePath;   // for writes: the file being written, renamed over path when closed
        bool writing = false;
        bool failed = false;
    };
    std::map<int, OpenFile> streams;
    std::map<int, std::vector<std::string>> listings;
    std::map<int, size_t> listingPositions;
    int nextHandle = 1;
};
