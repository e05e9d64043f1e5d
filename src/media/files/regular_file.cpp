#include "media/files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

std::string errorText(int error) { return std::generic_category().message(error); }

OpenedFile openRegularFile(const std::string& path) {
    OpenedFile opened;
    // O_NONBLOCK: a named pipe with no writer opens at once instead of waiting for one.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        const int error = errno;
        opened.failure = errorText(error);
        opened.missing = error == ENOENT || error == ENOTDIR;
        return opened;
    }
    struct stat info {};
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        // A folder opens like a file here but cannot be read.
        opened.failure = S_ISDIR(info.st_mode) ? errorText(EISDIR) : "not a regular file";
        ::close(descriptor);
        return opened;
    }
    // A regular file never blocks on open; its reads are the ordinary waiting kind again.
    const int flags = fcntl(descriptor, F_GETFL);
    if (flags >= 0) fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    opened.file = fdopen(descriptor, "rb");
    if (!opened.file) {
        opened.failure = errorText(errno);
        ::close(descriptor);
        return opened;
    }
    opened.size = static_cast<uint64_t>(info.st_size);
    return opened;
}
