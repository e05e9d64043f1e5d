#pragma once
// Folders that only their owner may enter, as the XDG base directory convention makes a
// player's data folder: whatever the umask, each folder made here is 0700.

#include <string>

// Makes the folder and each missing parent 0700; folders already there are left as they
// are. "" when the folder is there now, otherwise why not ("Not a directory", ...).
std::string makePrivateFolders(const std::string& folder);
