#pragma once
#include "app/Profile.h"

#include <functional>
#include <string>

// The spin boxes' state as the profile line stores it.
struct SpinValues {
    int32_t Normal = 1;   // SpinEdit2
    int32_t Advanced = 1; // SpinEdit3
};

// The 23 digit characters of vrz.sav: 8 disguised flags, money, the two unlocked
// levels and the two selected levels, each digit through a fixed substitution.
std::string FormatProfileLine(const Profile& profile, const SpinValues& spins);

// Reads a line into the profile and the spin values, field by field. A missing or
// non-digit character throws "'%s' is not a valid integer value"; what was read
// before it stays. Values out of range are clamped: unlocked levels to 1 … 40,
// selected levels to 1 … their unlocked level.
void ParseProfileLine(const std::string& line, Profile& profile, SpinValues& spins);

// Writes the line and a line break to `path` through a temporary file in the same
// folder that is renamed over it, so a failure never leaves a damaged profile.
// Throws GameError ("File access denied", …) and leaves the old file whole.
void SaveProfileFile(const std::string& path, const Profile& profile, const SpinValues& spins);

// Reads the first line of the file ("File not found" when missing) and parses it.
void LoadProfileFile(const std::string& path, Profile& profile, SpinValues& spins);

// Tests inject a failure between writing the temporary file and renaming it.
extern std::function<void()> ProfileSaveFaultForTesting;
