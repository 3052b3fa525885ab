#pragma once
#include "app/Profile.h"
#include "core/GameError.h"

#include <cstdint>
#include <optional>
#include <string>

// The most money the line holds (seven digits); the writer caps larger amounts.
constexpr int32_t MostMoneySaved = 9999999;

// The spin boxes' state as the profile line stores it.
struct SpinValues {
    int32_t Normal = 1;   // SpinEdit2
    int32_t Advanced = 1; // SpinEdit3
};

// The spin box values a line sets; empty where a damaged line stopped before them.
struct LoadedSpins {
    std::optional<int32_t> Normal;
    std::optional<int32_t> Advanced;
};

// The 23 digit characters of vrz.sav: 8 disguised flags, money, the two unlocked
// levels and the two selected levels, each digit through a fixed substitution.
std::string FormatProfileLine(const Profile& profile, const SpinValues& spins);

// What a save writes into vrz.sav: the line and its end.
std::string ProfileFileText(const Profile& profile, const SpinValues& spins);

// Reads a line into the profile and the spin values, field by field. A missing or
// non-digit character stops it with "'%s' is not a valid integer value", which
// comes back; what was read before it stays. No error: the whole line was read.
// Values out of range are clamped: unlocked levels to 1 … 40, selected levels to
// 1 … their unlocked level.
GameError ParseProfileLine(const std::string& line, Profile& profile, LoadedSpins& spins);

// Writes the line and a line break to `path` as a plain write would (through a
// symbolic link to its target, refused with "File access denied" where the file
// is not writable, the file's mode and owner kept), but through a temporary file
// beside the target that is synced and renamed over it, and the folder synced
// after: a failure or a power cut leaves the old profile or the new one, whole.
// The failure comes back, and the old file is left whole.
GameError SaveProfileFile(const std::string& path, const Profile& profile, const SpinValues& spins);

// Reads the first line of the file and parses it; the error comes back ("File not
// found" when missing, nothing read then), none when the whole line was read.
GameError LoadProfileFile(const std::string& path, Profile& profile, LoadedSpins& spins);

// A file as the session last saw it: a rewrite, a replacement or another file
// in its place changes it.
struct FileIdentity {
    uint64_t Device = 0, Inode = 0, Size = 0;
    int64_t ModifiedNs = 0, ChangedNs = 0;
    bool operator==(const FileIdentity& other) const;
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

// The identity of the file at `path`, links followed; none when it cannot be read.
std::optional<FileIdentity> IdentityOf(const std::string& path);

// Before a save replaces `path`: a file there that the session has not seen
// (`seen`: the file it last loaded whole or saved) is copied to `path`.bak, through
// a temporary file renamed over any older copy, with its mode. The game loads
// nothing at start-up, so a save before Load Profile would otherwise write a new
// profile over one that holds months of progress. A file that holds `text`, the
// ProfileFileText about to be saved, loses nothing and is not copied. The failure
// comes back, and the save must not go on then: the old file is still the only copy.
GameError KeepUnseenProfile(const std::string& path, const std::optional<FileIdentity>& seen, const std::string& text);
