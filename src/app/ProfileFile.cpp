#include "ProfileFile.h"

#include "core/GameError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The disguise: a character for owned and one for not owned per flag, and a
// permutation of the ten digits for every number.
constexpr char OwnedChar[ShopItemCount + 1] = "73915284";
constexpr char NotOwnedChar[ShopItemCount + 1] = "40268617";
constexpr char Encode[11] = "8317920564";

constexpr size_t LineLength = 23;

int Decode(char encoded)
{
    for (int d = 0; d < 10; ++d)
        if (Encode[d] == encoded)
            return d;
    return -1;
}

// The digit at 1-based position `pos` of the line, through the substitution.
int32_t DigitAt(const std::string& line, size_t pos)
{
    if (pos > line.size())
        throw GameError::NotValidInteger("");
    const char c = line[pos - 1];
    if (c < '0' || c > '9')
        throw GameError::NotValidInteger(std::string(1, c));
    return Decode(c);
}

int32_t NumberAt(const std::string& line, size_t pos, size_t digits)
{
    int32_t value = 0;
    for (size_t i = 0; i < digits; ++i)
        value = value * 10 + DigitAt(line, pos + i);
    return value;
}

void AppendNumber(std::string& line, int32_t value, int digits)
{
    std::string text(static_cast<size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i) {
        text[static_cast<size_t>(i)] = Encode[value % 10];
        value /= 10;
    }
    line += text;
}

void WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw GameError::FromErrno(errno);
        }
        done += static_cast<size_t>(n);
    }
}

} // namespace

std::function<void()> ProfileSaveFaultForTesting;

std::string FormatProfileLine(const Profile& profile, const SpinValues& spins)
{
    std::string line;
    line.reserve(LineLength);
    for (int k = 0; k < ShopItemCount; ++k)
        line += profile.Owned[k] ? OwnedChar[k] : NotOwnedChar[k];
    AppendNumber(line, std::clamp(profile.Money, 0, MostMoney), 7);
    for (int32_t n : {profile.UnlockedNormal, profile.UnlockedAdvanced, spins.Normal, spins.Advanced})
        AppendNumber(line, std::clamp(n, 0, 99), 2);
    return line;
}

void ParseProfileLine(const std::string& line, Profile& profile, SpinValues& spins)
{
    for (size_t k = 0; k < ShopItemCount; ++k)
        profile.Owned[k] = k < line.size() && line[k] == OwnedChar[k];
    profile.Money = NumberAt(line, 9, 7);
    profile.UnlockedNormal = std::clamp(NumberAt(line, 16, 2), 1, ChampionshipLevels);
    profile.UnlockedAdvanced = std::clamp(NumberAt(line, 18, 2), 1, ChampionshipLevels);
    spins.Normal = std::clamp(NumberAt(line, 20, 2), 1, profile.UnlockedNormal);
    spins.Advanced = std::clamp(NumberAt(line, 22, 2), 1, profile.UnlockedAdvanced);
}

void SaveProfileFile(const std::string& path, const Profile& profile, const SpinValues& spins)
{
    const std::string temp = path + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw GameError::FromErrno(errno);
    bool open = true;
    try {
        WriteAll(fd, FormatProfileLine(profile, spins) + "\n");
        if (::fsync(fd) != 0)
            throw GameError::FromErrno(errno);
        open = false;
        if (::close(fd) != 0)
            throw GameError::FromErrno(errno);
    } catch (...) {
        if (open)
            ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
    try {
        if (ProfileSaveFaultForTesting)
            ProfileSaveFaultForTesting();
        if (::rename(temp.c_str(), path.c_str()) != 0)
            throw GameError::FromErrno(errno);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
}

void LoadProfileFile(const std::string& path, Profile& profile, SpinValues& spins)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        throw GameError::FromErrno(errno);
    std::string line;
    int c;
    // Nothing after the 23rd character is read: a file without line breaks (or a
    // device that never ends) must not be read into memory whole.
    while (line.size() < LineLength && (c = std::fgetc(file)) != EOF && c != '\n' && c != '\r')
        line += static_cast<char>(c);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed)
        throw GameError::FromErrno(error);
    ParseProfileLine(line, profile, spins);
}
