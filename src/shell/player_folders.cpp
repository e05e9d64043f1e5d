#include "shell/player_folders.h"

namespace {

// A relative $XDG_DATA_HOME is to be ignored, like an unset one.
std::string dataHome(const FolderFacts& facts) {
    if (!facts.xdgDataHome.empty() && facts.xdgDataHome.front() == '/') return facts.xdgDataHome;
    if (facts.home.empty()) return "";
    return facts.home + "/.local/share";
}

}  // namespace

PlayerFolders choosePlayerFolders(const FolderFacts& facts) {
    const std::string base = dataHome(facts);
    const std::string playerFolder = base.empty() ? "" : base + "/cablewright";
    PlayerFolders folders;
    // With no home at all the game folder is still the best try; a failed save says so.
    folders.progress = (facts.gameFolderWritable || playerFolder.empty()) ? facts.gameFolder : playerFolder;
    if (!playerFolder.empty()) folders.userTracks = playerFolder + "/tracks";
    return folders;
}
