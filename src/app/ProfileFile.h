#pragma once
#include "app/Profile.h"
#include "core/GameError.h"

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
