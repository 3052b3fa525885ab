#pragma once
#include "core/GameError.h"

#include <functional>
#include <string>

// Where vrz.sav lives. An installed game (`cmake --install`, the .deb) keeps it
// in the player's data folder, root included, so nothing is ever written among
// the installed files: $XDG_DATA_HOME/vroomzle/, or ~/.local/share/vroomzle/ when
// that variable is unset, empty or relative. The portable folder keeps it beside
// the program, and uses the data folder only where the player cannot write there.
// Both end in '/'.

// The file the install puts beside the program, and only the install.
constexpr const char* InstalledMarker = "installed";

// The decision alone. `installed` tells whether the program folder holds the
// marker; `writable` whether the player may create files in a folder;
// `xdgDataHome` and `home` are the variables' values, null when unset. Without
// any usable home a portable folder stays where it is, and a save there fails
// with the usual error; an installed game then has no folder: empty.
std::string ProfileFolder(const std::string& programFolder, bool installed,
                          const std::function<bool(const std::string&)>& writable, const char* xdgDataHome,
                          const char* home);

// The decision for this process: the marker, its effective ids, its environment,
// and the password database when HOME is unusable.
std::string ProfileFolder(const std::string& programFolder);

// The profile Load Profile reads: vrz.sav in `folder` (ProfileFolder's answer),
// or, where nothing of that name is there and the profile lives away from the
// program, the vrz.sav an older build kept beside the program, so that an update
// finds it. Saves always go to `folder`. Empty where there is neither.
std::string ProfileToLoad(const std::string& programFolder, const std::string& folder);

// Whether this process, with its effective ids, may create and rename files in `folder`.
bool FolderWritable(const std::string& folder);

// Creates `folder` and any missing parents with mode 0700, as a save needs it;
// an existing folder is left as it is. The failure comes back ("File not found"
// for the empty folder of an installed game without a home).
GameError MakeProfileFolder(const std::string& folder);
