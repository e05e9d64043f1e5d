// Cablewright: connect every computer to the Server.

#include <malloc.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "media/desktop/sdl_media.h"
#include "shell/player_folders.h"
#include "shell/run_game.h"

namespace {

constexpr int LargeBlockBytes = 256 * 1024;

// The game runs from its installation folder whichever folder it is started from.
void enterProgramFolder(const char* argv0) {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) program = std::filesystem::absolute(argv0, error);
    if (!error && program.has_parent_path()) std::filesystem::current_path(program.parent_path(), error);
}

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// $HOME, or the password database when it is unset (as under some service managers).
std::string homeFolder() {
    std::string home = environmentValue("HOME");
    if (home.empty())
        if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) home = entry->pw_dir;
    return home;
}

// Where the build was configured to install and where the package installs, as CMake
// gave them ("<prefix>:<prefix>"), each with its links resolved.
std::vector<std::string> installPrefixes() {
    std::vector<std::string> prefixes;
    std::stringstream given(CW_INSTALL_PREFIXES);
    for (std::string prefix; std::getline(given, prefix, ':');) {
        std::error_code error;
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(prefix, error);
        if (!prefix.empty()) prefixes.push_back(error ? prefix : resolved.string());
    }
    return prefixes;
}

// Looked at from inside the program folder.
FolderFacts gatherFolderFacts() {
    FolderFacts facts;
    std::error_code error;
    facts.gameFolder = std::filesystem::current_path(error).string();
    facts.installPrefixes = installPrefixes();
    facts.installedProgramFolder = CW_INSTALLED_PROGRAM_FOLDER;
    // Saving makes a side file and renames it, so the folder itself must take new files.
    facts.gameFolderWritable = access(".", W_OK | X_OK) == 0;
    facts.xdgDataHome = environmentValue("XDG_DATA_HOME");
    facts.xdgConfigHome = environmentValue("XDG_CONFIG_HOME");
    facts.home = homeFolder();
    return facts;
}

}  // namespace

int main(int, char** argv) {
    // Pictures, frames and sounds are blocks of megabytes, made at start-up and again when
    // the drawing scale changes. glibc raises its threshold for giving such blocks their own
    // mapping each time one is freed, and from then on keeps freed ones in its heap; a fixed
    // threshold hands every large block back when it is freed (50 MB less kept at 3840 x 2160).
    mallopt(M_MMAP_THRESHOLD, LargeBlockBytes);
    enterProgramFolder(argv[0]);
    const PlayerFolders folders = choosePlayerFolders(gatherFolderFacts());
    SdlMedia media;
    // A signal while the program ends (a save finishing, the window closing) ends it with
    // status 0, as one in play does.
    media.keepQuitSignalsToTheEnd();
    return runGame(media, folders);
}
