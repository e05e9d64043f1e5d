#pragma once
// The small values that the file table hands out, apart from the table itself so that the
// seam can name them without its threads and locks.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

using Stream = int;            // 0 means opening failed
using DirectoryListing = int;  // 0 means the folder could not be opened

// What became of reading a file that may be absent.
enum class FileRead { Read, Missing, Unreadable };

// Whether a file's advisory lock was taken: HeldElsewhere while another holds it, Failed
// when the file cannot be opened or locked at all.
enum class LockResult { Taken, HeldElsewhere, Failed };

// How a queued write ended: failure is "" when the file now holds the bytes.
struct WriteOutcome {
    std::string path;
    std::string failure;
};

// Shown a file's first bytes and its size before the rest is read; false refuses it.
using HeadCheck = std::function<bool(std::span<const uint8_t> head, uint64_t fileSize)>;

// A whole-file read with no limit of its own beyond what the machine can hold.
constexpr size_t NoSizeLimit = SIZE_MAX - 1;
