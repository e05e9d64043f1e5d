#pragma once
// Where this player's progress files and own music live. An installed game's folder
// belongs to root, so the player's things go to his home; a game folder he can write
// to (the build tree, a portable copy) keeps them beside the program as it always has.

#include <string>

// What the machine says, gathered once when the program starts.
struct FolderFacts {
    std::string gameFolder;  // the program's own folder
    bool gameFolderWritable = false;
    std::string xdgDataHome;  // $XDG_DATA_HOME; "" when unset
    std::string home;         // the player's home folder; "" when unknown
};

struct PlayerFolders {
    std::string progress;    // folder of the two progress files; "" = the working folder
    std::string userTracks;  // the player's own music folder, listed when it exists; "" = none
};

// The game folder when writable, else $XDG_DATA_HOME/cablewright (by default
// ~/.local/share/cablewright). The player's music is always looked for in
// $XDG_DATA_HOME/cablewright/tracks.
PlayerFolders choosePlayerFolders(const FolderFacts& facts);
