#include "media/files/safe_replace.h"

#include <fcntl.h>
#include <sys/random.h>
#include <time.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

#include "media/files/private_folders.h"
#include "media/files/regular_file.h"

namespace {

constexpr char SideFileEnding[] = ".part";
constexpr size_t UniqueLetters = 6;
// As mkstemp: so many names taken in a row means something other than chance is at work.
constexpr int NameAttempts = 100;

// The reason for the call that just failed; a short write may come without one.
std::string lastCallFailure() { return errno != 0 ? errorText(errno) : "the write was cut short"; }

// Letters that no writer can foresee: the kernel's random bytes, or where those cannot be
// had the clock, the process and a count of the names drawn.
std::string uniqueLetters() {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<uint64_t> drawn{0};
    unsigned char bytes[UniqueLetters];
    if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        uint64_t mix = static_cast<uint64_t>(now.tv_nsec) ^ (static_cast<uint64_t>(getpid()) << 32) ^ (drawn++ << 20);
        for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(mix >>= 7);
    }
    std::string result;
    for (unsigned char byte : bytes) result += letters[byte % (sizeof letters - 1)];
    return result;
}

}  // namespace

int openWithMode(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }

std::string uniqueSideFileOf(const std::string& path) { return path + "." + uniqueLetters() + SideFileEnding; }

bool isSideFileOf(const std::string& name, const std::string& fileName) {
    if (name == fileName + SideFileEnding) return true;
    const std::string start = fileName + ".", end = SideFileEnding;
    return name.size() == start.size() + UniqueLetters + end.size() && name.starts_with(start) && name.ends_with(end);
}

SideFile::SideFile(const std::string& path, const WriteCalls& calls) : path(path), calls(calls) {
    int descriptor = -1;
    for (int attempt = 0; attempt < NameAttempts && descriptor < 0; ++attempt) {
        sidePath = uniqueSideFileOf(path);
        errno = 0;
        descriptor = calls.open(sidePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (descriptor < 0 && errno != EEXIST) break;
    }
    if (descriptor < 0) {
        firstFailure = lastCallFailure();
        return;
    }
    file = fdopen(descriptor, "wb");
    if (!file) {
        firstFailure = lastCallFailure();
        ::close(descriptor);
        ::unlink(sidePath.c_str());
    }
}

SideFile::~SideFile() {
    if (!file) return;
    std::fclose(file);
    ::unlink(sidePath.c_str());
}

void SideFile::write(std::span<const uint8_t> bytes) {
    if (!file || !firstFailure.empty() || bytes.empty()) return;
    errno = 0;
    if (calls.write(bytes.data(), 1, bytes.size(), file) != bytes.size()) firstFailure = lastCallFailure();
}

// Every step must succeed before the side file replaces the real one; the side file is
// closed whatever happened, and removed when it did not make it.
bool SideFile::finish() {
    if (!file) return false;
    const auto step = [this](auto call) {
        if (!firstFailure.empty()) return;
        errno = 0;
        if (call() != 0) firstFailure = lastCallFailure();
    };
    step([&] { return calls.flush(file); });
    step([&] { return calls.sync(fileno(file)); });
    errno = 0;
    if (calls.close(file) != 0 && firstFailure.empty()) firstFailure = lastCallFailure();
    file = nullptr;
    step([&] { return calls.rename(sidePath.c_str(), path.c_str()); });
    if (firstFailure.empty()) return true;
    ::unlink(sidePath.c_str());
    return false;
}

std::string replaceFileWith(const std::string& path, std::span<const uint8_t> bytes, const WriteCalls& calls) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (!folder.empty())
        if (std::string failure = makePrivateFolders(folder); !failure.empty()) return failure;
    SideFile side(path, calls);
    side.write(bytes);
    side.finish();
    return side.failure();
}
