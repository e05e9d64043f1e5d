#pragma once
// Raw byte files behind integer handles, and folder listings.

#include <unistd.h>
#include <cstdint>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using Stream = int;            // 0 means opening failed
using DirectoryListing = int;  // 0 means the folder could not be opened

// The C library calls a write goes through, so tests can make any one of them fail
// the way a full or failing disk does.
struct WriteCalls {
    std::FILE* (*open)(const char* path, const char* mode) = ::fopen;
    size_t (*write)(const void* data, size_t size, size_t count, std::FILE* file) = ::fwrite;
    int (*flush)(std::FILE* file) = ::fflush;
    int (*sync)(int descriptor) = ::fsync;
    int (*close)(std::FILE* file) = ::fclose;
    int (*rename)(const char* from, const char* to) = ::rename;
};

// What became of reading a file that may be absent.
enum class FileRead { Read, Missing, Unreadable };

class FileTable {
public:
    ~FileTable();
    // Called for a read failure other than the end of the file.
    std::function<void(const std::string&)> onFatal;

    Stream openForRead(const std::string& path);
    Stream openForWrite(const std::string& path);
    // False when a write stream did not land intact: the file keeps its previous
    // contents and lastError says why.
    bool close(Stream stream);
    // At the end of the file the missing bytes read as 0; a stream that failed to open reads as empty.
    int readU8(Stream stream);
    int32_t readI32(Stream stream);
    // Writes to a stream that failed to open are dropped.
    void writeI32(Stream stream, int32_t value);
    // Whole file; false (and no bytes) when it cannot be opened or holds more than maxBytes.
    bool readWhole(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes = NoSizeLimit);
    static constexpr size_t NoSizeLimit = SIZE_MAX - 1;
    // Up to maxBytes from the start of a file, never stopping the game: a file that is
    // there but cannot be read (permissions, a failing disk, a folder) is Unreadable.
    FileRead readStart(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes);
    // Creates the folder and any missing parents; false (lastError says why) when it cannot.
    bool createFolder(const std::string& path);
    // Why the last failed open, write, close or folder creation failed.
    const std::string& lastError() const { return errorText; }
    // Whether the last failed read or listing failed only because there was nothing there.
    bool lastErrorMissing() const { return errorMissing; }
    WriteCalls writeCalls;

    DirectoryListing openDirectory(const std::string& path);
    std::string nextEntry(DirectoryListing listing);
    void closeDirectory(DirectoryListing listing);

    // '\' separators become '/'.
    static std::string normalisePath(const std::string& path);

private:
    struct OpenFile {
        std::FILE* file = nullptr;
        std::string path;      // the name the game asked for
        std::string sidePath;  // for writes: the file being written, renamed over path when closed
        bool writing = false;
        std::string failure;  // for writes: the first thing that went wrong
    };
    bool finishWrite(OpenFile& open);
    void noteFailure(const std::string& reason, bool missing = false);
    std::map<int, OpenFile> streams;
    std::map<int, std::vector<std::string>> listings;
    std::map<int, size_t> listingPositions;
    int nextHandle = 1;
    std::string errorText;
    bool errorMissing = false;
};
