#include "app/ProfileFile.h"
#include "ReadFile.h"
#include "core/GameError.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <limits>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// The game's calls to the file system go through these first (the test binary
// is linked with --wrap for them): a test makes them fail or records them.
namespace {
int WriteFault = 0; // errno of the failure, 0 for none
int RenameFault = 0;
std::vector<std::string> FileCalls;
} // namespace

extern "C" {
ssize_t __real_write(int fd, const void* data, size_t size);
int __real_rename(const char* from, const char* to);
int __real_fsync(int fd);

ssize_t __wrap_write(int fd, const void* data, size_t size)
{
    if (WriteFault != 0) {
        errno = WriteFault;
        return -1;
    }
    return __real_write(fd, data, size);
}

int __wrap_rename(const char* from, const char* to)
{
    if (RenameFault != 0) {
        errno = RenameFault;
        return -1;
    }
    FileCalls.push_back("rename");
    return __real_rename(from, to);
}

int __wrap_fsync(int fd)
{
    struct stat st;
    FileCalls.push_back(fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) ? "sync folder" : "sync file");
    return __real_fsync(fd);
}
}

namespace {

constexpr uid_t Nobody = 65534;

// File permissions mean nothing to root, so as root the cases that need them run
// in a child process as an unprivileged player; otherwise we are that player.
uid_t PlayerId() { return geteuid() == 0 ? Nobody : geteuid(); }

void GiveToPlayer(const std::string& path)
{
    if (geteuid() == 0) {
        ASSERT_EQ(chown(path.c_str(), Nobody, Nobody), 0) << path;
    }
}

// What `work` returns, run as the player.
std::string AsPlayer(const std::function<std::string()>& work)
{
    if (geteuid() != 0)
        return work();
    int out[2];
    if (pipe(out) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(out[0]);
        const std::string result =
            setgroups(0, nullptr) == 0 && setgid(Nobody) == 0 && setuid(Nobody) == 0 ? work() : "not the player";
        const ssize_t written = write(out[1], result.data(), result.size());
        _exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
    }
    close(out[1]);
    std::string result;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? result : "the player's process failed";
}

// The error a save shows, or "" when it wrote the file.
std::string SaveError(const std::string& path, const Profile& profile)
{
    return SaveProfileFile(path, profile, SpinValues{}).Message();
}

std::string TempFolder()
{
    char pattern[] = "/tmp/vrz-profile-XXXXXX";
    return std::string(mkdtemp(pattern)) + "/";
}

std::string ErrorOf(const std::string& line, Profile& p, LoadedSpins& s) { return ParseProfileLine(line, p, s).Message(); }

} // namespace

TEST(ProfileLine, FreshProfileWritesTheDisguisedStartValues)
{
    const std::string line = FormatProfileLine(Profile{}, SpinValues{});
    ASSERT_EQ(line.size(), 23u);
    for (char c : line)
        EXPECT_TRUE(c >= '0' && c <= '9');
    // Seven identical money digits, then 02 02 01 01 through the same substitution.
    EXPECT_EQ(std::set<char>(line.begin() + 8, line.begin() + 15).size(), 1u);
    const char zero = line[8];
    EXPECT_EQ(line[15], zero);
    EXPECT_EQ(line[17], zero);
    EXPECT_EQ(line[16], line[18]);
    EXPECT_EQ(line[20], line[22]);
    EXPECT_NE(line[16], line[20]);
}

TEST(ProfileLine, RoundTripsEveryField)
{
    for (int32_t money : {0, 1, 1250, 9999999}) {
        Profile p;
        p.Money = money;
        p.Owned[0] = p.Owned[3] = p.Owned[7] = true;
        p.UnlockedNormal = 40;
        p.UnlockedAdvanced = 7;
        const SpinValues s{33, 5};
        Profile q;
        LoadedSpins t;
        EXPECT_EQ(ParseProfileLine(FormatProfileLine(p, s), q, t).Message(), "");
        EXPECT_EQ(q.Money, money);
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(q.Owned[k], p.Owned[k]) << k;
        EXPECT_EQ(q.UnlockedNormal, 40);
        EXPECT_EQ(q.UnlockedAdvanced, 7);
        EXPECT_EQ(t.Normal, 33);
        EXPECT_EQ(t.Advanced, 5);
    }
    // Flags: every owned/not-owned pattern of one item is told apart.
    for (int k = 0; k < 8; ++k) {
        Profile p, q;
        LoadedSpins t;
        p.Owned[k] = true;
        EXPECT_EQ(ParseProfileLine(FormatProfileLine(p, SpinValues{}), q, t).Message(), "");
        for (int j = 0; j < 8; ++j)
            EXPECT_EQ(q.Owned[j], j == k);
    }
}

TEST(ProfileLine, NeverWritesMoreThanTheFormatHolds)
{
    for (int32_t money : {12345678, std::numeric_limits<int32_t>::max()}) {
        Profile p;
        p.Money = money;
        SpinValues s{250, -3};
        const std::string line = FormatProfileLine(p, s);
        ASSERT_EQ(line.size(), 23u);
        Profile q;
        LoadedSpins t;
        EXPECT_EQ(ParseProfileLine(line, q, t).Message(), "");
        EXPECT_EQ(q.Money, 9999999);
    }
}

TEST(ProfileLine, ADamagedCharacterStopsThereAndKeepsWhatWasRead)
{
    Profile saved;
    saved.Money = 4321;
    saved.Owned[1] = true;
    saved.UnlockedNormal = 12;
    saved.UnlockedAdvanced = 9;
    const std::string good = FormatProfileLine(saved, SpinValues{11, 8});
    for (size_t pos = 9; pos <= 23; ++pos) {
        for (const std::string& damage : {std::string("x"), std::string()}) {
            std::string line = good.substr(0, pos - 1) + damage;
            if (!damage.empty())
                line += good.substr(pos);
            Profile p;
            p.Money = 77;
            LoadedSpins s;
            EXPECT_EQ(ErrorOf(line, p, s), "'" + damage + "' is not a valid integer value") << pos;
            EXPECT_TRUE(p.Owned[1]) << "flags come first";
            EXPECT_EQ(p.Money, pos <= 15 ? 77 : 4321) << pos;
            EXPECT_EQ(p.UnlockedNormal, pos <= 17 ? 2 : 12) << pos;
            EXPECT_EQ(p.UnlockedAdvanced, pos <= 19 ? 2 : 9) << pos;
            EXPECT_EQ(s.Normal, pos <= 21 ? std::nullopt : std::optional<int32_t>(11)) << pos;
            EXPECT_FALSE(s.Advanced) << pos;
        }
    }
}

TEST(ProfileLine, HandEditedValuesNeverLeaveTheirRanges)
{
    Profile p;
    LoadedSpins s;
    p.UnlockedNormal = 0;
    p.UnlockedAdvanced = 99;
    EXPECT_EQ(ParseProfileLine(FormatProfileLine(p, SpinValues{0, 75}), p, s).Message(), "");
    EXPECT_EQ(p.UnlockedNormal, 1);
    EXPECT_EQ(p.UnlockedAdvanced, 40);
    EXPECT_EQ(s.Normal, 1);
    EXPECT_EQ(s.Advanced, 40);
    Profile q;
    q.UnlockedAdvanced = 7;
    EXPECT_EQ(ParseProfileLine(FormatProfileLine(q, SpinValues{1, 9}), q, s).Message(), "");
    EXPECT_EQ(s.Advanced, 7) << "a selected level never passes the unlocked one";
}

TEST(ProfileFile, SavesAndLoadsThroughTheFolder)
{
    const std::string folder = TempFolder();
    Profile p;
    p.Money = 9999999;
    p.Owned[4] = true;
    EXPECT_FALSE(SaveProfileFile(folder + "vrz.sav", p, SpinValues{2, 1}));
    const std::string text = ReadFile(folder + "vrz.sav");
    EXPECT_EQ(text.size(), 24u);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_NE(access((folder + "vrz.sav.tmp").c_str(), F_OK), 0) << "no temporary file left behind";

    // Extra lines and characters after the 23rd are ignored; CRLF is fine.
    std::ofstream(folder + "vrz.sav", std::ios::binary) << text.substr(0, 23) << "99\r\nrubbish\r\n";
    Profile q;
    LoadedSpins s;
    EXPECT_EQ(LoadProfileFile(folder + "vrz.sav", q, s).Message(), "");
    EXPECT_EQ(q.Money, 9999999);
    EXPECT_TRUE(q.Owned[4]);
    EXPECT_EQ(s.Normal, 2);
}

TEST(ProfileFile, ADamagedFileNamesTheCharacterWhereTheLoadStopped)
{
    const std::string folder = TempFolder();
    const std::string good = FormatProfileLine(Profile{}, SpinValues{});
    auto errorOf = [&](const std::string& bytes) {
        std::ofstream(folder + "vrz.sav", std::ios::binary) << bytes;
        Profile p;
        LoadedSpins s;
        return LoadProfileFile(folder + "vrz.sav", p, s).Message();
    };
    EXPECT_EQ(errorOf(good.substr(0, 12) + std::string(1, '\0') + good.substr(13)), "'#0' is not a valid integer value");
    EXPECT_EQ(errorOf(good.substr(0, 9) + "\t" + good.substr(10)), "'#9' is not a valid integer value");
    EXPECT_EQ(errorOf(good.substr(0, 15) + "-1" + good.substr(17)), "'-' is not a valid integer value");
    // A line break inside the numbers ends the line there.
    EXPECT_EQ(errorOf(good.substr(0, 20) + "\r\n" + good.substr(20)), "'' is not a valid integer value");
    EXPECT_EQ(errorOf(""), "'' is not a valid integer value");
    EXPECT_EQ(errorOf("\n" + good), "'' is not a valid integer value") << "only the first line counts";
}

TEST(ProfileFile, ShiftedOrForeignCharactersStillReadIntoTheirRanges)
{
    // The line carries no check: digits moved by a byte-order mark or a blank
    // read as other numbers, which land in their ranges all the same.
    const std::string folder = TempFolder();
    Profile saved;
    saved.Money = 1234;
    saved.Owned[0] = true;
    saved.UnlockedNormal = 12;
    saved.UnlockedAdvanced = 7;
    const std::string good = FormatProfileLine(saved, SpinValues{9, 5});
    for (const std::string& bytes : {"\xEF\xBB\xBF" + good, " " + good, "abcdefgh" + good.substr(8)}) {
        std::ofstream(folder + "vrz.sav", std::ios::binary) << bytes << "\n";
        Profile p;
        LoadedSpins s;
        EXPECT_EQ(LoadProfileFile(folder + "vrz.sav", p, s).Message(), "");
        EXPECT_GE(p.Money, 0);
        EXPECT_LE(p.Money, 9999999);
        for (int32_t level : {p.UnlockedNormal, p.UnlockedAdvanced}) {
            EXPECT_GE(level, 1);
            EXPECT_LE(level, ChampionshipLevels);
        }
        EXPECT_GE(s.Normal.value(), 1);
        EXPECT_LE(s.Normal.value(), p.UnlockedNormal);
        EXPECT_GE(s.Advanced.value(), 1);
        EXPECT_LE(s.Advanced.value(), p.UnlockedAdvanced);
        EXPECT_FALSE(p.Owned[0]) << "a character not the owned one reads as not owned";
    }
}

TEST(ProfileFile, ReadsNoFurtherThanTheLineItNeeds)
{
    // A source that never ends: the load stops after the 23 characters it uses.
    Profile p;
    LoadedSpins s;
    EXPECT_EQ(LoadProfileFile("/dev/zero", p, s).Message(), "'#0' is not a valid integer value");
    // Megabytes of digits after the line without a break still load the line.
    const std::string folder = TempFolder();
    Profile saved;
    saved.Money = 777;
    saved.UnlockedNormal = 30;
    std::ofstream(folder + "vrz.sav", std::ios::binary) << FormatProfileLine(saved, SpinValues{17, 2})
                                                         << std::string(8 << 20, '5');
    Profile q;
    EXPECT_EQ(LoadProfileFile(folder + "vrz.sav", q, s).Message(), "");
    EXPECT_EQ(q.Money, 777);
    EXPECT_EQ(q.UnlockedNormal, 30);
    EXPECT_EQ(s.Normal, 17);
    EXPECT_EQ(s.Advanced, 2);
}

// A save before a load must not be the end of a profile: what the session has
// not seen is kept as vrz.sav.bak, and only that.
TEST(ProfileFile, ASaveKeepsTheProfileItHasNotSeenBesideIt)
{
    const std::string folder = TempFolder();
    const std::string path = folder + "vrz.sav", backup = path + ".bak";
    const std::string months = "months of progress\n", fresh = "a fresh profile\n";
    auto write = [](const std::string& file, const std::string& bytes, mode_t mode) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        ::chmod(file.c_str(), mode);
    };
    auto exists = [](const std::string& file) { return access(file.c_str(), F_OK) == 0; };
    struct stat st {};

    // Nothing to replace: nothing kept.
    EXPECT_EQ(KeepUnseenProfile(path, std::nullopt, fresh).Message(), "");
    EXPECT_FALSE(exists(backup));

    // A file never loaded nor saved here: copied whole, with its mode, over an older copy.
    write(path, months, 0640);
    write(backup, "an older copy\n", 0600);
    EXPECT_EQ(KeepUnseenProfile(path, std::nullopt, fresh).Message(), "");
    EXPECT_EQ(ReadFile(backup), months);
    ASSERT_EQ(::stat(backup.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_FALSE(exists(backup + ".tmp")) << "no temporary file left behind";
    EXPECT_EQ(ReadFile(path), months) << "the profile itself is the save's to replace";

    // The file the session saw, or one that holds the new profile already: nothing to keep.
    write(backup, "kept\n", 0600);
    EXPECT_EQ(KeepUnseenProfile(path, IdentityOf(path), fresh).Message(), "");
    EXPECT_EQ(KeepUnseenProfile(path, std::nullopt, months).Message(), "");
    EXPECT_EQ(ReadFile(backup), "kept\n");

    // The file changed since the session saw it (another game saved), or was replaced.
    const std::optional<FileIdentity> seen = IdentityOf(path);
    write(path, "another game's save\n", 0640);
    EXPECT_EQ(KeepUnseenProfile(path, seen, fresh).Message(), "");
    EXPECT_EQ(ReadFile(backup), "another game's save\n");
    write(backup, "kept\n", 0600);
    ASSERT_FALSE(SaveProfileFile(path, Profile{}, SpinValues{}));
    EXPECT_EQ(KeepUnseenProfile(path, seen, fresh).Message(), "");
    EXPECT_EQ(ReadFile(backup), FormatProfileLine(Profile{}, SpinValues{}) + "\n");

    // A link planted where the copy is made is replaced, not followed; a folder
    // there stops the save, which must not go on without its copy.
    ASSERT_EQ(symlink("/dev/full", (backup + ".tmp").c_str()), 0);
    EXPECT_EQ(KeepUnseenProfile(path, std::nullopt, fresh).Message(), "");
    mkdir((backup + ".tmp").c_str(), 0700);
    EXPECT_EQ(KeepUnseenProfile(path, std::nullopt, fresh).Message(), "File access denied");
    ::rmdir((backup + ".tmp").c_str());
    EXPECT_NE(IdentityOf(path), std::nullopt);
    EXPECT_EQ(IdentityOf(folder + "missing"), std::nullopt);
}

TEST(ProfileFile, AFullDiskOrAFolderInTheWayKeepsTheOldFile)
{
    const std::string folder = TempFolder();
    Profile old;
    old.Money = 55;
    EXPECT_FALSE(SaveProfileFile(folder + "vrz.sav", old, SpinValues{}));
    const std::string before = ReadFile(folder + "vrz.sav");
    Profile fresh;
    fresh.Money = 66;

    // The disk fills while the temporary file is written, or the rename fails.
    for (int* fault : {&WriteFault, &RenameFault}) {
        *fault = fault == &WriteFault ? ENOSPC : EIO;
        const std::string error = SaveError(folder + "vrz.sav", fresh);
        *fault = 0;
        EXPECT_EQ(error, fault == &WriteFault ? "Disk full" : "I/O error 5 (Input/output error)");
        EXPECT_EQ(ReadFile(folder + "vrz.sav"), before);
        EXPECT_NE(access((folder + "vrz.sav.tmp").c_str(), F_OK), 0) << "no temporary file left behind";
    }

    // A leftover temporary file, or a link planted where it goes, is replaced, not followed.
    ASSERT_EQ(symlink("/dev/full", (folder + "vrz.sav.tmp").c_str()), 0);
    EXPECT_EQ(SaveError(folder + "vrz.sav", fresh), "");
    EXPECT_EQ(ReadFile(folder + "vrz.sav"), FormatProfileLine(fresh, SpinValues{}) + "\n");
    EXPECT_FALSE(SaveProfileFile(folder + "vrz.sav", old, SpinValues{}));

    // A folder where the temporary file goes.
    mkdir((folder + "vrz.sav.tmp").c_str(), 0700);
    EXPECT_EQ(SaveError(folder + "vrz.sav", fresh), "File access denied");
    EXPECT_EQ(ReadFile(folder + "vrz.sav"), before);

    // The program's folder itself gone.
    EXPECT_EQ(SaveError(folder + "gone/vrz.sav", fresh), "File not found");

    // A folder or a device in the profile's own place is neither replaced nor read.
    const std::string other = TempFolder();
    mkdir((other + "vrz.sav").c_str(), 0700);
    EXPECT_EQ(SaveError(other + "vrz.sav", fresh), "File access denied");
    ASSERT_EQ(symlink("/dev/null", (other + "null.sav").c_str()), 0);
    EXPECT_EQ(SaveError(other + "null.sav", fresh), "File access denied");
    Profile p;
    LoadedSpins s;
    EXPECT_EQ(LoadProfileFile(other + "vrz.sav", p, s).Message(), "File access denied");
}

TEST(ProfileFile, ErrorsUseTheToolkitTexts)
{
    const std::string folder = TempFolder();
    Profile p;
    p.Money = 5;
    LoadedSpins s;
    EXPECT_EQ(LoadProfileFile(folder + "vrz.sav", p, s).Message(), "File not found");
    EXPECT_EQ(p.Money, 5);

    // A folder the player cannot write.
    GiveToPlayer(folder);
    chmod(folder.c_str(), 0500);
    EXPECT_EQ(AsPlayer([&] { return SaveError(folder + "vrz.sav", p); }), "File access denied");
    chmod(folder.c_str(), 0700);
}

TEST(ProfileFile, SavingWritesTheFileAsAPlainWriteWouldButWhole)
{
    const std::string folder = TempFolder();
    GiveToPlayer(folder);
    Profile fresh;
    fresh.Money = 4242;
    const std::string line = FormatProfileLine(fresh, SpinValues{}) + "\n";
    struct stat st;

    // A read-only profile stays as it is: no "SAVED", and SAVE & EXIT does not close.
    {
        const std::string path = folder + "readonly.sav";
        std::ofstream(path) << "old\n";
        GiveToPlayer(path);
        chmod(path.c_str(), 0444);
        EXPECT_EQ(AsPlayer([&] { return SaveError(path, fresh); }), "File access denied");
        EXPECT_EQ(ReadFile(path), "old\n");
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0444u);
    }
    // The file keeps its mode.
    for (mode_t mode : {0600u, 0640u, 0664u}) {
        const std::string path = folder + "mode.sav";
        std::ofstream(path) << "old\n";
        GiveToPlayer(path);
        chmod(path.c_str(), mode);
        EXPECT_EQ(AsPlayer([&] { return SaveError(path, fresh); }), "");
        EXPECT_EQ(ReadFile(path), line);
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
        EXPECT_EQ(st.st_uid, PlayerId());
    }
    // A new file gets what a plain create gives: 0666 less the umask.
    for (mode_t mask : {022u, 002u, 077u}) {
        const std::string path = folder + "new.sav";
        ::unlink(path.c_str());
        const mode_t before = umask(mask);
        EXPECT_EQ(SaveError(path, fresh), "");
        umask(before);
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask) << "umask " << std::oct << mask;
    }
    // Another player's file that this one may write is written in place, and stays theirs.
    if (geteuid() == 0) {
        const std::string path = folder + "shared.sav";
        std::ofstream(path) << "old\n";
        chmod(path.c_str(), 0666);
        EXPECT_EQ(AsPlayer([&] { return SaveError(path, fresh); }), "");
        EXPECT_EQ(ReadFile(path), line);
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, 0u);
        EXPECT_EQ(st.st_mode & 07777, 0666u);
    }

    // Through symbolic links, relative, absolute, chained or dangling, to the target.
    mkdir((folder + "real").c_str(), 0700);
    std::ofstream(folder + "real/actual.sav") << "old\n";
    chmod((folder + "real/actual.sav").c_str(), 0640);
    ASSERT_EQ(symlink("real/actual.sav", (folder + "vrz.sav").c_str()), 0);
    ASSERT_EQ(symlink((folder + "vrz.sav").c_str(), (folder + "chain.sav").c_str()), 0);
    ASSERT_EQ(symlink("real/new.sav", (folder + "dangling.sav").c_str()), 0);
    for (const char* link : {"vrz.sav", "chain.sav", "dangling.sav"}) {
        EXPECT_EQ(SaveError(folder + link, fresh), "") << link;
        ASSERT_EQ(lstat((folder + link).c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << link << " is still a link";
        EXPECT_EQ(ReadFile(folder + link), line) << link;
    }
    ASSERT_EQ(stat((folder + "real/actual.sav").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    for (const char* leftover : {"vrz.sav.tmp", "real/actual.sav.tmp", "real/new.sav.tmp"})
        EXPECT_NE(access((folder + leftover).c_str(), F_OK), 0) << leftover;
    ASSERT_EQ(symlink("loop.sav", (folder + "loop.sav").c_str()), 0);
    EXPECT_NE(SaveError(folder + "loop.sav", fresh), "");

    // Durable: the file is synced before it replaces the old one, the folder after.
    FileCalls.clear();
    EXPECT_FALSE(SaveProfileFile(folder + "vrz.sav", fresh, SpinValues{}));
    EXPECT_EQ(FileCalls, (std::vector<std::string>{"sync file", "rename", "sync folder"}));
}
