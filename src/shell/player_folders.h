#pragma once
// Where this player's progress files and own music live. An installed game's folder is
// the system's: the player's things go to his own data folder, even when he could write
// to the game's (root can), so that removing the package removes every file it had. A game
// folder outside the install prefix (the build tree, a portable copy) that takes new files
// keeps the progress beside the program as it always has.

#include <string>
#include <vector>

// What the machine says, gathered once when the program starts.
struct FolderFacts {
    std::string gameFolder;  // the program's own folder, links resolved
    bool gameFolderWritable = false;
    std::string xdgDataHome;    // $XDG_DATA_HOME; "" when unset
    std::string xdgConfigHome;  // $XDG_CONFIG_HOME; "" when unset
    std::string home;           // the player's home folder; "" when unknown
    // The prefixes an install may use (as the build was configured, and the package's),
    // links resolved, and where below a prefix the install puts the program
    // ("lib/games/cablewright"): a game folder there is installed whatever the prefix.
    std::vector<std::string> installPrefixes;
    std::string installedProgramFolder;
};

struct PlayerFolders {
    std::string progress;    // folder of the two progress files; "" = the working folder
    std::string userTracks;  // the player's own music folder, listed when it exists; "" = none
    // An installed game with no data folder outside the install prefix: nothing is kept.
    bool progressKept = true;
    std::string settings{};  // folder of "settings.conf"; "" = the working folder
    bool settingsKept = true;
};

// An installed game: $XDG_DATA_HOME/cablewright (by default ~/.local/share/cablewright), or
// nowhere when that would lie inside an install prefix. Otherwise the game folder when it
// is writable, else the same data folder. The player's music is always looked for in the
// data folder's "tracks". The settings follow the same rule, with the player's configuration
// folder, $XDG_CONFIG_HOME/cablewright (by default ~/.config/cablewright), for the data folder.
PlayerFolders choosePlayerFolders(const FolderFacts& facts);
// Whether the folder is inside (or is) one of the install prefixes, or is where an install
// below some prefix puts the program.
bool insideInstall(const std::string& folder, const FolderFacts& facts);
