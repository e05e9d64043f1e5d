#pragma once
// Replacing a file so that a crash, a kill or a full disk part-way through never destroys
// what was there: the new bytes go to a fresh side file ("<name>.<six characters>.part", a
// name of its own for every write), which is synced and renamed over the file only when
// every step has worked. Two writers of one file, even two processes, never share a side
// file, so neither can rename the other's half-written one into place.

#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "media/files/writes_under_way.h"

// open(2) with its mode always given (the system's own is variadic).
int openWithMode(const char* path, int flags, mode_t mode);

// The C library calls a write goes through, so tests can make any one of them fail the
// way a full or failing disk does.
struct WriteCalls {
    int (*open)(const char* path, int flags, mode_t mode) = openWithMode;
    size_t (*write)(const void* data, size_t size, size_t count, std::FILE* file) = ::fwrite;
    int (*flush)(std::FILE* file) = ::fflush;
    int (*sync)(int descriptor) = ::fsync;
    int (*close)(std::FILE* file) = ::fclose;
    int (*rename)(const char* from, const char* to) = ::rename;
};

// A name for a write of path that no other write has: "<path>.<six characters>.part",
// drawn as mkstemp draws its names.
std::string uniqueSideFileOf(const std::string& path);
// Whether name, a plain name in the file's folder, is a side file of the file named
// fileName: of this version's writes, or of an older version's ("<fileName>.part").
bool isSideFileOf(const std::string& name, const std::string& fileName);

// One write of a file by way of its side file.
class SideFile {
public:
    // Creates the side file under a new name of its own, as mkstemp does (but with the usual
    // mode of a new file): it never follows a link planted at that name and never reuses a
    // file it did not make; another name is drawn while one is taken.
    SideFile(const std::string& path, const WriteCalls& calls);
    // Not finished: the side file goes and the file stays as it was.
    ~SideFile();
    SideFile(const SideFile&) = delete;
    SideFile& operator=(const SideFile&) = delete;

    bool opened() const { return file != nullptr; }
    // After the first failure further writes are dropped.
    void write(std::span<const uint8_t> bytes);
    // Flush, sync, close, rename: true when the file now holds what was written.
    bool finish();
    // The first thing that went wrong ("No space left on device", ...); "" while all is well.
    const std::string& failure() const { return firstFailure; }

private:
    WriteUnderWay underWay;  // first made, last gone: an end of the program waits for all of it
    std::string path, sidePath;
    const WriteCalls& calls;
    std::FILE* file = nullptr;
    std::string firstFailure;
};

// The whole replace in one call, making the file's folder first when it is missing (0700,
// private_folders.h): "" when the file now holds the bytes, otherwise why not (and the file
// is as it was).
std::string replaceFileWith(const std::string& path, std::span<const uint8_t> bytes, const WriteCalls& calls);
