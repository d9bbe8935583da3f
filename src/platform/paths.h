// Where the game keeps the player's own files.
#pragma once

#include <string>

// $XDG_DATA_HOME/earthguard/NAME (default ~/.local/share/earthguard/NAME);
// the folder is made when missing.
std::string UserDataFile(const char *name);
