#include "shell/player_folders.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A relative $XDG_DATA_HOME is to be ignored, like an unset one.
std::string dataHome(const FolderFacts& facts) {
    if (!facts.xdgDataHome.empty() && facts.xdgDataHome.front() == '/') return facts.xdgDataHome;
    if (facts.home.empty()) return "";
    return facts.home + "/.local/share";
}

// Whole components: /usr holds /usr/lib but not /usrlocal.
bool within(const fs::path& folder, const fs::path& prefix) {
    const fs::path inner = folder.lexically_normal(), outer = prefix.lexically_normal();
    auto at = inner.begin();
    for (const fs::path& part : outer) {
        if (part.empty()) continue;  // the trailing "" of "/usr/"
        if (at == inner.end() || *at != part) return false;
        ++at;
    }
    return !outer.empty();
}

// Where an install puts the program, below any prefix: <prefix>/lib/games/cablewright.
bool inInstalledLayout(const fs::path& folder, const fs::path& programFolder) {
    const auto components = [](const fs::path& path) {
        std::vector<fs::path> parts;
        for (const fs::path& part : path.lexically_normal())
            if (!part.empty()) parts.push_back(part);
        return parts;
    };
    const std::vector<fs::path> parts = components(folder), tail = components(programFolder);
    return !tail.empty() && parts.size() > tail.size() && std::equal(tail.rbegin(), tail.rend(), parts.rbegin());
}

}  // namespace

bool insideInstall(const std::string& folder, const FolderFacts& facts) {
    if (folder.empty()) return false;
    for (const std::string& prefix : facts.installPrefixes)
        if (!prefix.empty() && within(folder, prefix)) return true;
    return inInstalledLayout(folder, facts.installedProgramFolder);
}

PlayerFolders choosePlayerFolders(const FolderFacts& facts) {
    const std::string base = dataHome(facts);
    const std::string playerFolder = base.empty() ? "" : base + "/cablewright";
    PlayerFolders folders;
    if (!playerFolder.empty()) folders.userTracks = playerFolder + "/tracks";
    if (insideInstall(facts.gameFolder, facts)) {
        // Never beside the installed program, whoever plays.
        folders.progressKept = !playerFolder.empty() && !insideInstall(playerFolder, facts);
        folders.progress = folders.progressKept ? playerFolder : "";
        return folders;
    }
    // With no home at all the game folder is still the best try; a failed save says so.
    folders.progress = (facts.gameFolderWritable || playerFolder.empty()) ? facts.gameFolder : playerFolder;
    return folders;
}
