#include "shell/player_folders.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A relative $XDG_DATA_HOME or $XDG_CONFIG_HOME is to be ignored, like an unset one.
std::string baseFolder(const std::string& given, const std::string& home, const char* belowHome) {
    if (!given.empty() && given.front() == '/') return given;
    if (home.empty()) return "";
    return home + belowHome;
}

std::string playerFolderIn(const std::string& base) { return base.empty() ? "" : base + "/cablewright"; }

// Where one kind of the player's files goes, given the player's own folder for it.
struct ChosenFolder {
    std::string folder;
    bool kept = true;
};

ChosenFolder chooseFolder(const FolderFacts& facts, const std::string& playerFolder) {
    if (insideInstall(facts.gameFolder, facts)) {
        // Never beside the installed program, whoever plays.
        const bool kept = !playerFolder.empty() && !insideInstall(playerFolder, facts);
        return {kept ? playerFolder : "", kept};
    }
    // With no home at all the game folder is still the best try; a failed save says so.
    return {(facts.gameFolderWritable || playerFolder.empty()) ? facts.gameFolder : playerFolder, true};
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
    const std::string dataFolder = playerFolderIn(baseFolder(facts.xdgDataHome, facts.home, "/.local/share"));
    const std::string configFolder = playerFolderIn(baseFolder(facts.xdgConfigHome, facts.home, "/.config"));
    PlayerFolders folders;
    if (!dataFolder.empty()) folders.userTracks = dataFolder + "/tracks";
    const ChosenFolder progress = chooseFolder(facts, dataFolder);
    folders.progress = progress.folder;
    folders.progressKept = progress.kept;
    const ChosenFolder settings = chooseFolder(facts, configFolder);
    folders.settings = settings.folder;
    folders.settingsKept = settings.kept;
    return folders;
}
