#include "ProfileFile.h"

#include "core/GameError.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
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

// Reads the line's numbers field by field, stopping at the first character that
// is not a digit; what was read before it stays read.
class LineReader {
public:
    explicit LineReader(const std::string& line) : Line(line) {}

    // The number of `digits` digits from 1-based position `pos`; false once the
    // line has failed.
    bool Number(size_t pos, size_t digits, int32_t& number)
    {
        int32_t value = 0;
        for (size_t i = 0; i < digits && !Error; ++i) {
            if (pos + i > Line.size()) {
                Error = GameError::NotValidInteger("");
                break;
            }
            const char c = Line[pos + i - 1];
            if (c < '0' || c > '9')
                Error = GameError::NotValidInteger(std::string(1, c));
            else
                value = value * 10 + Decode(c);
        }
        if (!Error)
            number = value;
        return !Error;
    }

    GameError Error;

private:
    const std::string& Line;
};

void AppendNumber(std::string& line, int32_t value, int digits)
{
    std::string text(static_cast<size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i) {
        text[static_cast<size_t>(i)] = Encode[value % 10];
        value /= 10;
    }
    line += text;
}

GameError WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return GameError::FromErrno(errno);
        }
        done += static_cast<size_t>(n);
    }
    return {};
}

// An open file descriptor, closed however the save ends.
struct OpenFile {
    explicit OpenFile(int fd) : Fd(fd) {}
    ~OpenFile()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    // Writes the text, syncs it and closes the file; the first failure comes back.
    GameError WriteSyncClose(const std::string& text)
    {
        if (GameError error = WriteAll(Fd, text))
            return error;
        if (::fsync(Fd) != 0)
            return GameError::FromErrno(errno);
        const int fd = Fd;
        Fd = -1;
        if (::close(fd) != 0)
            return GameError::FromErrno(errno);
        return {};
    }

    int Fd;
};

// The temporary file of a save: removed unless it became the profile.
struct TemporaryFile {
    explicit TemporaryFile(std::string path) : Path(std::move(path)) {}
    ~TemporaryFile()
    {
        if (!Kept)
            ::unlink(Path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    std::string Path;
    bool Kept = false;
};

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a plain write of `path` lands in: symbolic links followed to their
// target, which need not exist yet. `path` becomes the target.
GameError FollowToWriteTarget(std::string& path)
{
    constexpr int MostLinks = 40; // the kernel's own limit
    for (int n = 0; n < MostLinks; ++n) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return {}; // what is not there or not a link is the open's business
        char link[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
        if (length < 0)
            return GameError::FromErrno(errno);
        if (static_cast<size_t>(length) == sizeof link)
            return GameError::FromErrno(ENAMETOOLONG);
        const std::string to(link, static_cast<size_t>(length));
        path = to.front() == '/' ? to : FolderOf(path) + "/" + to;
    }
    return GameError::FromErrno(ELOOP);
}

// Gives a new file the owner and mode of the one it replaces; `given` is false
// when the owner cannot be given.
GameError TakeOwnerAndMode(int fd, const struct stat& existing, bool& given)
{
    struct stat made;
    if (::fstat(fd, &made) != 0)
        return GameError::FromErrno(errno);
    given = (made.st_uid == existing.st_uid && made.st_gid == existing.st_gid) ||
            ::fchown(fd, existing.st_uid, existing.st_gid) == 0;
    if (given && ::fchmod(fd, existing.st_mode & 07777) != 0)
        return GameError::FromErrno(errno);
    return {};
}

// Best effort for the rename's durability: a folder we cannot open for reading
// is left to the file system, but an error of the sync itself is reported.
GameError SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {};
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0 && error != EINVAL) // EINVAL: a file system without folder syncs
        return GameError::FromErrno(error);
    return {};
}

// Creates a temporary file for writing, -1 with errno on failure. A leftover
// one, or a link planted in its place, is replaced, not followed.
int CreateAfresh(const std::string& path, mode_t mode)
{
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        return -1;
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}

// Whether the open file holds exactly `text`.
bool Holds(int fd, const struct stat& st, const std::string& text)
{
    if (static_cast<uint64_t>(st.st_size) != text.size())
        return false;
    std::string bytes(text.size(), '\0');
    return ::pread(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()) && bytes == text;
}

// Copies the open file `from` into the open file `to`, syncs and closes it.
GameError CopyInto(int from, OpenFile& to)
{
    char buffer[65536];
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(from, buffer, sizeof buffer, offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return GameError::FromErrno(errno);
        }
        if (n == 0)
            return to.WriteSyncClose("");
        if (GameError error = WriteAll(to.Fd, std::string(buffer, static_cast<size_t>(n))))
            return error;
        offset += n;
    }
}

FileIdentity IdentityOfStat(const struct stat& st)
{
    FileIdentity id;
    id.Device = st.st_dev;
    id.Inode = st.st_ino;
    id.Size = static_cast<uint64_t>(st.st_size);
    id.ModifiedNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    id.ChangedNs = int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return id;
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

GameError ParseProfileLine(const std::string& line, Profile& profile, LoadedSpins& spins)
{
    for (size_t k = 0; k < ShopItemCount; ++k)
        profile.Owned[k] = k < line.size() && line[k] == OwnedChar[k];
    LineReader read(line);
    int32_t n = 0;
    if (read.Number(9, 7, n))
        profile.Money = n;
    if (read.Number(16, 2, n))
        profile.UnlockedNormal = std::clamp(n, 1, ChampionshipLevels);
    if (read.Number(18, 2, n))
        profile.UnlockedAdvanced = std::clamp(n, 1, ChampionshipLevels);
    if (read.Number(20, 2, n))
        spins.Normal = std::clamp(n, 1, profile.UnlockedNormal);
    if (read.Number(22, 2, n))
        spins.Advanced = std::clamp(n, 1, profile.UnlockedAdvanced);
    return read.Error;
}

std::string ProfileFileText(const Profile& profile, const SpinValues& spins)
{
    return FormatProfileLine(profile, spins) + "\n";
}

GameError SaveProfileFile(const std::string& path, const Profile& profile, const SpinValues& spins)
{
    std::string target = path;
    if (GameError error = FollowToWriteTarget(target))
        return error;
    struct stat existing;
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // A folder or a device is never replaced by a file; and where opening the
    // file for writing would be refused, so is the save (root passes, as there).
    if (exists && !S_ISREG(existing.st_mode))
        return GameError::FileAccessDenied();
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return GameError::FromErrno(errno);
    const std::string text = ProfileFileText(profile, spins);

    TemporaryFile temp(target + ".tmp");
    OpenFile file(CreateAfresh(temp.Path, 0666));
    if (file.Fd < 0)
        return GameError::FromErrno(errno);
    bool ownerGiven = true;
    if (exists)
        if (GameError error = TakeOwnerAndMode(file.Fd, existing, ownerGiven))
            return error;
    if (!ownerGiven) {
        // Another player's file that we may write: a replacement would become
        // ours, so it is written in place, as a plain write would.
        OpenFile own(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
        if (own.Fd < 0)
            return GameError::FromErrno(errno);
        return own.WriteSyncClose(text);
    }
    if (GameError error = file.WriteSyncClose(text))
        return error;
    if (::rename(temp.Path.c_str(), target.c_str()) != 0)
        return GameError::FromErrno(errno);
    temp.Kept = true;
    return SyncFolder(FolderOf(target));
}

GameError LoadProfileFile(const std::string& path, Profile& profile, LoadedSpins& spins)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return GameError::FromErrno(errno);
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
        return GameError::FromErrno(error);
    return ParseProfileLine(line, profile, spins);
}

bool FileIdentity::operator==(const FileIdentity& other) const
{
    return Device == other.Device && Inode == other.Inode && Size == other.Size && ModifiedNs == other.ModifiedNs &&
           ChangedNs == other.ChangedNs;
}

std::optional<FileIdentity> IdentityOf(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return IdentityOfStat(st);
}

GameError KeepUnseenProfile(const std::string& path, const std::optional<FileIdentity>& seen, const std::string& text)
{
    OpenFile old(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (old.Fd < 0)
        return errno == ENOENT ? GameError() : GameError::FromErrno(errno);
    struct stat st;
    if (::fstat(old.Fd, &st) != 0)
        return GameError::FromErrno(errno);
    // What is no file is the save's to refuse.
    if (!S_ISREG(st.st_mode) || (seen && *seen == IdentityOfStat(st)) || Holds(old.Fd, st, text))
        return {};
    TemporaryFile temp(path + ".bak.tmp");
    OpenFile copy(CreateAfresh(temp.Path, 0600));
    if (copy.Fd < 0)
        return GameError::FromErrno(errno);
    // Another player's file keeps the saver's owner and so stays private to it.
    bool ownerGiven = true;
    if (GameError error = TakeOwnerAndMode(copy.Fd, st, ownerGiven))
        return error;
    if (GameError error = CopyInto(old.Fd, copy))
        return error;
    if (::rename(temp.Path.c_str(), (path + ".bak").c_str()) != 0)
        return GameError::FromErrno(errno);
    temp.Kept = true;
    return SyncFolder(FolderOf(path));
}
