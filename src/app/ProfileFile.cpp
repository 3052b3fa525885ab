#include "ProfileFile.h"

#include "core/GameError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
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

// Writes, syncs and closes; the descriptor is closed whatever fails.
void WriteSyncClose(int fd, const std::string& text)
{
    try {
        WriteAll(fd, text);
        if (::fsync(fd) != 0)
            throw GameError::FromErrno(errno);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0)
        throw GameError::FromErrno(errno);
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a plain write of `path` lands in: symbolic links followed to their
// target, which need not exist yet.
std::string WriteTarget(std::string path)
{
    constexpr int MostLinks = 40; // the kernel's own limit
    for (int n = 0; n < MostLinks; ++n) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path; // what is not there or not a link is the open's business
        char link[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
        if (length < 0)
            throw GameError::FromErrno(errno);
        if (static_cast<size_t>(length) == sizeof link)
            throw GameError::FromErrno(ENAMETOOLONG);
        const std::string to(link, static_cast<size_t>(length));
        path = to.front() == '/' ? to : FolderOf(path) + "/" + to;
    }
    throw GameError::FromErrno(ELOOP);
}

// Gives a new file the owner and mode of the one it replaces; false when the
// owner cannot be given.
bool TakeOwnerAndMode(int fd, const struct stat& existing)
{
    struct stat made;
    if (::fstat(fd, &made) != 0)
        throw GameError::FromErrno(errno);
    if ((made.st_uid != existing.st_uid || made.st_gid != existing.st_gid) &&
        ::fchown(fd, existing.st_uid, existing.st_gid) != 0)
        return false;
    if (::fchmod(fd, existing.st_mode & 07777) != 0)
        throw GameError::FromErrno(errno);
    return true;
}

// Best effort for the rename's durability: a folder we cannot open for reading
// is left to the file system, but an error of the sync itself is reported.
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0 && error != EINVAL) // EINVAL: a file system without folder syncs
        throw GameError::FromErrno(error);
}

} // namespace

std::string FormatProfileLine(const Profile& profile, const SpinValues& spins)
{
    std::string line;
    line.reserve(LineLength);
    for (int k = 0; k < ShopItemCount; ++k)
        line += profile.Owned[k] ? OwnedChar[k] : NotOwnedChar[k];
    AppendNumber(line, std::clamp(profile.Money, 0, MostMoneySaved), 7);
    for (int32_t n : {profile.UnlockedNormal, profile.UnlockedAdvanced, spins.Normal, spins.Advanced})
        AppendNumber(line, std::clamp(n, 0, 99), 2);
    return line;
}

void ParseProfileLine(const std::string& line, Profile& profile, LoadedSpins& spins)
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
    const std::string target = WriteTarget(path);
    struct stat existing;
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // A folder or a device is never replaced by a file; and where opening the
    // file for writing would be refused, so is the save (root passes, as there).
    if (exists && !S_ISREG(existing.st_mode))
        throw GameError::FileAccessDenied();
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        throw GameError::FromErrno(errno);
    const std::string text = FormatProfileLine(profile, spins) + "\n";

    // A leftover temporary file, or a link planted in its place, is replaced.
    const std::string temp = target + ".tmp";
    if (::unlink(temp.c_str()) != 0 && errno != ENOENT)
        throw GameError::FromErrno(errno);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        throw GameError::FromErrno(errno);
    bool replace = true;
    try {
        if (exists)
            replace = TakeOwnerAndMode(fd, existing);
    } catch (...) {
        ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
    if (!replace) {
        // Another player's file that we may write: a replacement would become
        // ours, so it is written in place, as a plain write would.
        ::close(fd);
        ::unlink(temp.c_str());
        const int own = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (own < 0)
            throw GameError::FromErrno(errno);
        WriteSyncClose(own, text);
        return;
    }
    try {
        WriteSyncClose(fd, text);
        if (::rename(temp.c_str(), target.c_str()) != 0)
            throw GameError::FromErrno(errno);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    SyncFolder(FolderOf(target));
}

void LoadProfileFile(const std::string& path, Profile& profile, LoadedSpins& spins)
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
