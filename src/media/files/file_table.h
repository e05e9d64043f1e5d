#pragma once
// Raw byte files behind integer handles, and folder listings. Only regular files are
// read, and none is opened in a way that could wait on it (regular_file.h); every write
// replaces its file safely (safe_replace.h), now or off the caller's thread.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "media/files/background_writer.h"
#include "media/files/file_lock.h"
#include "media/files/file_types.h"
#include "media/files/safe_replace.h"

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
    // Whole file; false (and no bytes) when it cannot be opened or holds more than maxBytes,
    // which is known from its size before anything is read. With a head check, the first
    // headBytes (or the whole of a shorter file) are read first and shown to it with the
    // file's size; the rest is read only if it says yes. When the file cannot be opened or is
    // longer than maxBytes, failure (when given) says why; safe on any thread.
    using HeadCheck = ::HeadCheck;
    bool readWhole(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes = NoSizeLimit,
                   size_t headBytes = 0, const HeadCheck& acceptHead = {}, std::string* failure = nullptr);
    static constexpr size_t NoSizeLimit = ::NoSizeLimit;
    // Up to maxBytes from the start of a file, never stopping the game: a file that is
    // there but cannot be read (permissions, a failing disk, a folder, a pipe) is Unreadable.
    FileRead readStart(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes);
    // The file's whole contents become the bytes; false (lastError says why) when the old
    // file stays instead. Waits for the queued writes first, so it is never overtaken.
    bool replace(const std::string& path, std::span<const uint8_t> bytes);
    // The same off the caller's thread: returns at once (background_writer.h).
    void replaceSoon(const std::string& path, std::vector<uint8_t> bytes);
    void waitForWrites() { writer.drain(); }
    // How the queued writes that ended since the last call went.
    std::vector<WriteOutcome> finishedWrites() { return writer.takeOutcomes(); }
    // Queued writes happen at once on the caller's thread (tests), or on the writer's own
    // (as they ship); only before the first.
    void writeQueuedAtOnce() { writer.setMode(BackgroundWriter::Mode::Inline); }
    void writeQueuedOnTheirThread() { writer.setMode(BackgroundWriter::Mode::OwnThread); }
    // Removes the side files that writes of path killed part-way left behind.
    void removeUnfinishedWrite(const std::string& path);
    // Creates the folder and any missing parents, each 0700; false (lastError says why) when
    // it cannot.
    bool createFolder(const std::string& path);
    // Takes the advisory lock of the file (made when missing) and holds it until unlockFile,
    // or until the table goes; Failed: lastError says why.
    LockResult lockFile(const std::string& path);
    void unlockFile() { lock.release(); }
    // Why the last failed open, write, close or folder creation failed.
    const std::string& lastError() const { return failureText; }
    // Whether the last failed read or listing failed only because there was nothing there.
    bool lastErrorMissing() const { return errorMissing; }
    WriteCalls writeCalls;

    DirectoryListing openDirectory(const std::string& path);
    std::string nextEntry(DirectoryListing listing);
    void closeDirectory(DirectoryListing listing);

    // A regular file, links followed (stat never opens what it looks at).
    static bool isRegularFile(const std::string& path);

    // '\' separators become '/'.
    static std::string normalisePath(const std::string& path);

private:
    struct OpenFile {
        std::FILE* file = nullptr;        // for reads
        std::string path;                 // the name the game asked for
        std::unique_ptr<SideFile> write;  // for writes: renamed over path when closed intact
    };
    void noteFailure(const std::string& reason, bool missing = false);
    std::map<int, OpenFile> streams;
    std::map<int, std::vector<std::string>> listings;
    std::map<int, size_t> listingPositions;
    int nextHandle = 1;
    std::string failureText;
    bool errorMissing = false;
    FileLock lock;
    BackgroundWriter writer;  // finishes its queue when the table goes
};
