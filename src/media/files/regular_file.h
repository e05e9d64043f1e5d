#pragma once
// Opening a file for reading without ever waiting on it. A named pipe, a device or a socket
// in a file's place would hold open() until another program wrote to it, so the game only
// reads regular files, and finds out what a name is before it can block.

#include <cstdint>
#include <cstdio>
#include <string>

struct OpenedFile {
    std::FILE* file = nullptr;  // null when it could not be opened (or is no regular file)
    uint64_t size = 0;          // bytes in the file when it was opened
    std::string failure;        // why not: "No such file or directory", "not a regular file" ...
    bool missing = false;       // nothing at all is there (or a folder on the way is missing)
};

// Opens path for reading (blocking reads from then on) only when it is a regular file.
// Safe to call from any thread.
OpenedFile openRegularFile(const std::string& path);

// The text of an errno value; unlike strerror, safe on any thread.
std::string errorText(int error);
