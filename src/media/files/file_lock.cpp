#include "media/files/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "media/files/regular_file.h"

LockResult FileLock::take(const std::string& path) {
    release();
    constexpr int Flags = O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | Flags, 0600);
    // A lock file already there in a folder that takes no new files locks as well read-only.
    if (descriptor < 0 && (errno == EACCES || errno == EROFS)) descriptor = ::open(path.c_str(), O_RDONLY | Flags);
    if (descriptor < 0) {
        failureText = errorText(errno);
        return LockResult::Failed;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) return LockResult::Taken;
    const int error = errno;
    ::close(descriptor);
    descriptor = -1;
    if (error == EWOULDBLOCK) return LockResult::HeldElsewhere;
    failureText = errorText(error);
    return LockResult::Failed;
}

void FileLock::release() {
    if (descriptor >= 0) ::close(descriptor);
    descriptor = -1;
}
