#include "app/ProfileFile.h"
#include "core/GameError.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string TempFolder()
{
    char pattern[] = "/tmp/vrz-profile-XXXXXX";
    return std::string(mkdtemp(pattern)) + "/";
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string ErrorOf(const std::string& line, Profile& p, SpinValues& s)
{
    try {
        ParseProfileLine(line, p, s);
    } catch (const GameError& e) {
        return e.what();
    }
    return "";
}

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
        SpinValues t;
        ParseProfileLine(FormatProfileLine(p, s), q, t);
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
        SpinValues s;
        p.Owned[k] = true;
        ParseProfileLine(FormatProfileLine(p, s), q, s);
        for (int j = 0; j < 8; ++j)
            EXPECT_EQ(q.Owned[j], j == k);
    }
}

TEST(ProfileLine, NeverWritesMoreThanTheFormatHolds)
{
    Profile p;
    p.Money = 12345678;
    SpinValues s{250, -3};
    const std::string line = FormatProfileLine(p, s);
    ASSERT_EQ(line.size(), 23u);
    Profile q;
    SpinValues t;
    ParseProfileLine(line, q, t);
    EXPECT_EQ(q.Money, 9999999);
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
            SpinValues s{2, 2};
            EXPECT_EQ(ErrorOf(line, p, s), "'" + damage + "' is not a valid integer value") << pos;
            EXPECT_TRUE(p.Owned[1]) << "flags come first";
            EXPECT_EQ(p.Money, pos <= 15 ? 77 : 4321) << pos;
            EXPECT_EQ(p.UnlockedNormal, pos <= 17 ? 2 : 12) << pos;
            EXPECT_EQ(p.UnlockedAdvanced, pos <= 19 ? 2 : 9) << pos;
            EXPECT_EQ(s.Normal, pos <= 21 ? 2 : 11) << pos;
            EXPECT_EQ(s.Advanced, 2) << pos;
        }
    }
}

TEST(ProfileLine, HandEditedValuesNeverLeaveTheirRanges)
{
    Profile p;
    SpinValues s;
    p.UnlockedNormal = 0;
    p.UnlockedAdvanced = 99;
    ParseProfileLine(FormatProfileLine(p, SpinValues{0, 75}), p, s);
    EXPECT_EQ(p.UnlockedNormal, 1);
    EXPECT_EQ(p.UnlockedAdvanced, 40);
    EXPECT_EQ(s.Normal, 1);
    EXPECT_EQ(s.Advanced, 40);
    Profile q;
    q.UnlockedAdvanced = 7;
    ParseProfileLine(FormatProfileLine(q, SpinValues{1, 9}), q, s);
    EXPECT_EQ(s.Advanced, 7) << "a selected level never passes the unlocked one";
}

TEST(ProfileFile, SavesAndLoadsThroughTheFolder)
{
    const std::string folder = TempFolder();
    Profile p;
    p.Money = 9999999;
    p.Owned[4] = true;
    SaveProfileFile(folder + "vrz.sav", p, SpinValues{2, 1});
    const std::string text = ReadFile(folder + "vrz.sav");
    EXPECT_EQ(text.size(), 24u);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_NE(access((folder + "vrz.sav.tmp").c_str(), F_OK), 0) << "no temporary file left behind";

    // Extra lines and characters after the 23rd are ignored; CRLF is fine.
    std::ofstream(folder + "vrz.sav", std::ios::binary) << text.substr(0, 23) << "99\r\nrubbish\r\n";
    Profile q;
    SpinValues s;
    LoadProfileFile(folder + "vrz.sav", q, s);
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
        SpinValues s;
        try {
            LoadProfileFile(folder + "vrz.sav", p, s);
        } catch (const GameError& e) {
            return std::string(e.what());
        }
        return std::string();
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
        SpinValues s;
        LoadProfileFile(folder + "vrz.sav", p, s);
        EXPECT_GE(p.Money, 0);
        EXPECT_LE(p.Money, 9999999);
        for (int32_t level : {p.UnlockedNormal, p.UnlockedAdvanced}) {
            EXPECT_GE(level, 1);
            EXPECT_LE(level, ChampionshipLevels);
        }
        EXPECT_GE(s.Normal, 1);
        EXPECT_LE(s.Normal, p.UnlockedNormal);
        EXPECT_GE(s.Advanced, 1);
        EXPECT_LE(s.Advanced, p.UnlockedAdvanced);
        EXPECT_FALSE(p.Owned[0]) << "a character not the owned one reads as not owned";
    }
}

TEST(ProfileFile, ReadsNoFurtherThanTheLineItNeeds)
{
    // A source that never ends: the load stops after the 23 characters it uses.
    Profile p;
    SpinValues s;
    try {
        LoadProfileFile("/dev/zero", p, s);
        FAIL();
    } catch (const GameError& e) {
        EXPECT_STREQ(e.what(), "'#0' is not a valid integer value");
    }
    // Megabytes of digits after the line without a break still load the line.
    const std::string folder = TempFolder();
    Profile saved;
    saved.Money = 777;
    saved.UnlockedNormal = 30;
    std::ofstream(folder + "vrz.sav", std::ios::binary) << FormatProfileLine(saved, SpinValues{17, 2})
                                                         << std::string(8 << 20, '5');
    Profile q;
    LoadProfileFile(folder + "vrz.sav", q, s);
    EXPECT_EQ(q.Money, 777);
    EXPECT_EQ(q.UnlockedNormal, 30);
    EXPECT_EQ(s.Normal, 17);
    EXPECT_EQ(s.Advanced, 2);
}

TEST(ProfileFile, AFullDiskOrAFolderInTheWayKeepsTheOldFile)
{
    const std::string folder = TempFolder();
    Profile old;
    old.Money = 55;
    SaveProfileFile(folder + "vrz.sav", old, SpinValues{});
    const std::string before = ReadFile(folder + "vrz.sav");
    Profile fresh;
    fresh.Money = 66;

    // The temporary file lands on a full disk.
    ASSERT_EQ(symlink("/dev/full", (folder + "vrz.sav.tmp").c_str()), 0);
    try {
        SaveProfileFile(folder + "vrz.sav", fresh, SpinValues{});
        FAIL();
    } catch (const GameError& e) {
        EXPECT_STREQ(e.what(), "Disk full");
    }
    EXPECT_EQ(ReadFile(folder + "vrz.sav"), before);

    // A folder where the temporary file goes.
    mkdir((folder + "vrz.sav.tmp").c_str(), 0700);
    try {
        SaveProfileFile(folder + "vrz.sav", fresh, SpinValues{});
        FAIL();
    } catch (const GameError& e) {
        EXPECT_STREQ(e.what(), "File access denied");
    }
    EXPECT_EQ(ReadFile(folder + "vrz.sav"), before);

    // The program's folder itself gone.
    try {
        SaveProfileFile(folder + "gone/vrz.sav", fresh, SpinValues{});
        FAIL();
    } catch (const GameError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }

    // A folder in the profile's own place cannot be read either.
    const std::string other = TempFolder();
    mkdir((other + "vrz.sav").c_str(), 0700);
    Profile p;
    SpinValues s;
    try {
        LoadProfileFile(other + "vrz.sav", p, s);
        FAIL();
    } catch (const GameError& e) {
        EXPECT_STREQ(e.what(), "File access denied");
    }
}

TEST(ProfileFile, ErrorsUseTheToolkitTexts)
{
    const std::string folder = TempFolder();
    Profile p;
    p.Money = 5;
    SpinValues s;
    try {
        LoadProfileFile(folder + "vrz.sav", p, s);
        FAIL();
    } catch (const GameError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    EXPECT_EQ(p.Money, 5);

    if (geteuid() != 0) {
        chmod(folder.c_str(), 0500);
        try {
            SaveProfileFile(folder + "vrz.sav", p, s);
            FAIL();
        } catch (const GameError& e) {
            EXPECT_STREQ(e.what(), "File access denied");
        }
        chmod(folder.c_str(), 0700);
    }
    // A folder where the file should be cannot be replaced.
    mkdir((folder + "vrz.sav").c_str(), 0700);
    EXPECT_THROW(SaveProfileFile(folder + "vrz.sav", p, s), GameError);
}

TEST(ProfileFile, AFailureBeforeTheRenameLeavesTheOldFileWhole)
{
    const std::string folder = TempFolder();
    Profile old;
    old.Money = 1234;
    SaveProfileFile(folder + "vrz.sav", old, SpinValues{});
    const std::string before = ReadFile(folder + "vrz.sav");

    ProfileSaveFaultForTesting = [] { throw GameError("Disk full"); };
    Profile fresh;
    fresh.Money = 999;
    EXPECT_THROW(SaveProfileFile(folder + "vrz.sav", fresh, SpinValues{}), GameError);
    ProfileSaveFaultForTesting = nullptr;

    EXPECT_EQ(ReadFile(folder + "vrz.sav"), before);
    EXPECT_NE(access((folder + "vrz.sav.tmp").c_str(), F_OK), 0);
}
