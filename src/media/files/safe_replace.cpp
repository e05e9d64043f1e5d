#include "media/files/safe_replace.h"

#include <fcntl.h>

#include <cerrno>
#include <filesystem>

#include "media/files/regular_file.h"

namespace {

// The reason for the call that just failed; a short write may come without one.
std::string lastCallFailure() { return errno != 0 ? errorText(errno) : "the write was cut short"; }

}  // namespace

int openWithMode(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }

std::string sideFileOf(const std::string& path) { return path + ".part"; }

SideFile::SideFile(const std::string& path, const WriteCalls& calls)
    : path(path), sidePath(sideFileOf(path)), calls(calls) {
    ::unlink(sidePath.c_str());
    errno = 0;
    const int descriptor = calls.open(sidePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
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
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    if (error) return error.message();
    SideFile side(path, calls);
    side.write(bytes);
    side.finish();
    return side.failure();
}
