#pragma once
#include <functional>
#include <string>

// Where vrz.sav lives. Beside the program while the player can write its folder
// (the portable folder); otherwise, as in a system install, in the player's data
// folder: $XDG_DATA_HOME/vroomzle/, or ~/.local/share/vroomzle/ when that variable
// is unset, empty or relative. Both end in '/'.

// The decision alone. `writable` tells whether the player may create files in a
// folder; `xdgDataHome` and `home` are the variables' values, null when unset.
// Without any usable home the program folder stays, and a save there fails
// with the usual error.
std::string ProfileFolder(const std::string& programFolder, const std::function<bool(const std::string&)>& writable,
                          const char* xdgDataHome, const char* home);

// The decision for this process: its effective ids, its environment, and the
// password database when HOME is unusable.
std::string ProfileFolder(const std::string& programFolder);

// Whether this process, with its effective ids, may create and rename files in `folder`.
bool FolderWritable(const std::string& folder);

// Creates `folder` and any missing parents with mode 0700, as a save needs it;
// an existing folder is left as it is. Throws GameError.
void MakeProfileFolder(const std::string& folder);
