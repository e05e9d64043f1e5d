// How a failed save is told: in full on standard error, and in a line on screen that says
// what the player can do about it (a folder to make writable, a disk to clear).

#include <cerrno>
#include <filesystem>

#include "media/files/regular_file.h"
#include "persist/progress.h"
#include "persist/progress_file.h"

namespace {

bool oneOf(const std::string& reason, std::initializer_list<int> errors) {
    for (int error : errors)
        if (reason == errorText(error)) return true;
    return false;
}

std::string folderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "the game folder" : folder;
}

std::string nameOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

std::string saveFailureMessage(const std::string& path, const std::string& reason, bool previousKept) {
    return "could not save " + path + " (" + reason + ")" + (previousKept ? "; the previous file is kept" : "");
}

UnsavedFile unsavedFileLines(const std::string& path, const std::string& reason, bool previousKept) {
    UnsavedFile lines;
    if (oneOf(reason, {EACCES, EPERM, EROFS})) {
        lines = {"Progress not saved: " + folderOf(path) + " is not writable",
                 "Progress not saved: its folder is not writable"};
    } else if (oneOf(reason, {ENOSPC, EDQUOT})) {
        lines = {"Progress not saved: the disk of " + folderOf(path) + " is full",
                 "Progress not saved: the disk is full"};
    } else {
        lines = {"Progress not saved: " + path + " (" + reason + ")", "Progress not saved (" + reason + ")"};
    }
    if (previousKept) lines.line += "; the previous file is kept";
    return lines;
}

UnsavedFile untouchedFileLines(const std::string& what, const std::string& path, const std::string& why) {
    return {what + " not saved: " + path + " " + why + ", so it is left as it is",
            what + " not saved: " + nameOf(path) + " " + why};
}
