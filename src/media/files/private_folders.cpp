#include "media/files/private_folders.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "media/files/regular_file.h"

std::string makePrivateFolders(const std::string& folder) {
    std::filesystem::path reached;
    for (const std::filesystem::path& part : std::filesystem::path(folder)) {
        reached /= part;
        if (part.empty() || part == "/") continue;  // the root, and the "" of a trailing '/'
        if (::mkdir(reached.c_str(), 0700) == 0) continue;
        const int error = errno;
        struct stat info {};
        // Something already there must be a folder (or a link to one) to go on through.
        if (error == EEXIST) {
            if (::stat(reached.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
            return errorText(ENOTDIR);
        }
        // A parent that cannot be written may still hold the rest (the root's, say).
        if (::stat(reached.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
        return errorText(error);
    }
    return "";
}
