#pragma once
// An advisory lock (flock) on a file, held for as long as it lives: one process at a time
// holds it, and the kernel lets it go when the holder ends however it ends, so a copy that
// was killed never blocks the next one.

#include <string>

#include "media/files/file_types.h"

class FileLock {
public:
    FileLock() = default;
    ~FileLock() { release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Makes the file when it is missing (0600; a link in its place is never followed) and
    // takes its lock without waiting: HeldElsewhere while another open of it holds the lock.
    LockResult take(const std::string& path);
    void release();
    // Why the last take failed.
    const std::string& failure() const { return failureText; }

private:
    int descriptor = -1;
    std::string failureText;
};
