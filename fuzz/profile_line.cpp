// vrz.sav as the game meets it: whatever bytes the file holds are loaded into a
// profile, saved, and loaded back. Whatever the first load made of them, saving
// and loading again must give the same profile and the same saved text.
#include "FuzzFiles.h"

#include "app/Profile.h"
#include "app/ProfileFile.h"
#include "core/GameError.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool Same(const Profile& a, const SpinValues& sa, const Profile& b, const SpinValues& sb)
{
    for (int k = 0; k < ShopItemCount; ++k)
        if (a.Owned[k] != b.Owned[k])
            return false;
    return a.Money == b.Money && a.UnlockedNormal == b.UnlockedNormal && a.UnlockedAdvanced == b.UnlockedAdvanced &&
           sa.Normal == sb.Normal && sa.Advanced == sb.Advanced;
}

std::string Describe(const Profile& p, const SpinValues& s)
{
    std::string owned;
    for (bool o : p.Owned)
        owned += o ? '1' : '0';
    return "owned " + owned + " money " + std::to_string(p.Money) + " unlocked " + std::to_string(p.UnlockedNormal) +
           "/" + std::to_string(p.UnlockedAdvanced) + " spins " + std::to_string(s.Normal) + "/" +
           std::to_string(s.Advanced);
}

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

// A load that stops at a bad character leaves what it read; the game goes on with
// that, and the boxes it did not reach keep the start-up's 1.
void Load(const std::string& path, Profile& profile, SpinValues& spins)
{
    LoadedSpins read;
    static_cast<void>(LoadProfileFile(path, profile, read));
    spins.Normal = read.Normal.value_or(1);
    spins.Advanced = read.Advanced.value_or(1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& folder = fuzz::ProcessFolder();
    const std::string input = folder + "vrz.sav";
    const std::string first = folder + "first.sav";
    const std::string second = folder + "second.sav";
    fuzz::WriteFile(input, data, size);

    Profile loaded;
    SpinValues loadedSpins;
    Load(input, loaded, loadedSpins);
    if (const GameError error = SaveProfileFile(first, loaded, loadedSpins))
        Fail("the profile cannot be saved: " + error.Message());

    Profile again;
    SpinValues againSpins;
    LoadedSpins read;
    if (const GameError error = LoadProfileFile(first, again, read))
        Fail("the saved profile does not load: " + error.Message());
    againSpins = SpinValues{read.Normal.value_or(0), read.Advanced.value_or(0)};
    if (!Same(loaded, loadedSpins, again, againSpins))
        Fail("loaded " + Describe(loaded, loadedSpins) + ", after saving " + Describe(again, againSpins));
    if (const GameError error = SaveProfileFile(second, again, againSpins))
        Fail("the profile cannot be saved again: " + error.Message());
    const std::string firstText = fuzz::ReadFile(first);
    const std::string secondText = fuzz::ReadFile(second);
    if (firstText != secondText)
        Fail("saved '" + firstText + "', then '" + secondText + "'");
    if (firstText != FormatProfileLine(loaded, loadedSpins) + "\n")
        Fail("the file holds '" + firstText + "'");
    return 0;
}
