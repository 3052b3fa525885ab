#include "core/GameError.h"
#include "core/ProfileFolder.h"
#include "core/ProgramFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(GameError, UsesTheToolkitTexts)
{
    EXPECT_STREQ(GameError::FromErrno(ENOENT).what(), "File not found");
    EXPECT_STREQ(GameError::FromErrno(EACCES).what(), "File access denied");
    EXPECT_STREQ(GameError::CannotOpenFile("/x/tiles/3.jpg").what(), "Cannot open file /x/tiles/3.jpg");
    EXPECT_STREQ(GameError::BitmapNotValid().what(), "Bitmap image is not valid");
}

TEST(GameError, ABadNumberNamesItsControlCharactersByTheirCode)
{
    // A NUL would end the message the player sees right after the quote.
    EXPECT_STREQ(GameError::NotValidInteger(std::string("1\0", 2)).what(), "'1#0' is not a valid integer value");
    EXPECT_STREQ(GameError::NotValidInteger("\t\x1b\x7f").what(), "'#9#27#127' is not a valid integer value");
    EXPECT_STREQ(GameError::NotValidInteger("x-9 ").what(), "'x-9 ' is not a valid integer value");
    EXPECT_STREQ(GameError::NotValidInteger("").what(), "'' is not a valid integer value");
}

TEST(ProgramFolder, IsTheFolderOfThisExecutable)
{
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(folder, std::string(VZ_BUILD_DIR) + "/tests/");
}

namespace {

std::string TempFolder()
{
    char pattern[] = "/tmp/vrz-core-XXXXXX";
    return std::string(mkdtemp(pattern)) + "/";
}

mode_t ModeOf(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

} // namespace

TEST(ProfileFolder, BesideTheProgramWhileThePlayerCanWriteThereElseInTheDataFolder)
{
    const std::string program = "/opt/vroomzle/";
    struct Case {
        bool Writable;
        const char* XdgDataHome;
        const char* Home;
        const char* Expected;
    };
    const Case cases[] = {
        // The portable folder: nothing changes, whatever the environment says.
        {true, "/data", "/home/ann", "/opt/vroomzle/"},
        {true, nullptr, nullptr, "/opt/vroomzle/"},
        // A system install: the player's data folder.
        {false, "/data", "/home/ann", "/data/vroomzle/"},
        {false, "/data//", "/home/ann", "/data/vroomzle/"},
        {false, "/", "/home/ann", "/vroomzle/"},
        {false, nullptr, "/home/ann", "/home/ann/.local/share/vroomzle/"},
        {false, "", "/home/ann/", "/home/ann/.local/share/vroomzle/"},
        {false, "data", "/home/ann", "/home/ann/.local/share/vroomzle/"},
        {false, "~/data", "/home/ann", "/home/ann/.local/share/vroomzle/"},
        // No usable home at all: the program folder, where a save fails as it always did.
        {false, nullptr, nullptr, "/opt/vroomzle/"},
        {false, "", "home", "/opt/vroomzle/"},
    };
    for (const Case& c : cases) {
        std::string asked;
        const auto writable = [&](const std::string& folder) {
            asked = folder;
            return c.Writable;
        };
        EXPECT_EQ(ProfileFolder(program, writable, c.XdgDataHome, c.Home), c.Expected)
            << "writable " << c.Writable << ", XDG_DATA_HOME " << (c.XdgDataHome ? c.XdgDataHome : "unset")
            << ", HOME " << (c.Home ? c.Home : "unset");
        EXPECT_EQ(asked, program);
    }
}

TEST(ProfileFolder, TheRealCheckFollowsThePermissionsOfTheFolder)
{
    const std::string folder = TempFolder();
    EXPECT_TRUE(FolderWritable(folder));
    EXPECT_EQ(ProfileFolder(folder), folder);
    EXPECT_FALSE(FolderWritable(folder + "missing/"));
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    // Root may write anywhere; the window test runs the real game as another user.
    if (geteuid() != 0) {
        EXPECT_FALSE(FolderWritable(folder));
        EXPECT_NE(ProfileFolder(folder), folder);
    }
    ::chmod(folder.c_str(), 0700);
    ::rmdir(folder.c_str());
}

TEST(ProfileFolder, TheFirstSaveCreatesTheMissingFoldersPrivateToThePlayer)
{
    const std::string top = TempFolder();
    ASSERT_EQ(::chmod(top.c_str(), 0755), 0);
    const std::string folder = top + "home/.local/share/vroomzle/";
    MakeProfileFolder(folder);
    for (const std::string& part : {top + "home", top + "home/.local", top + "home/.local/share", folder})
        EXPECT_EQ(ModeOf(part), 0700u) << part;
    // An existing folder keeps its mode, with or without the trailing slash.
    ASSERT_EQ(::chmod(folder.c_str(), 0750), 0);
    MakeProfileFolder(folder);
    MakeProfileFolder(top + "home/.local/share/vroomzle");
    EXPECT_EQ(ModeOf(folder), 0750u);
    EXPECT_EQ(ModeOf(top), 0755u);

    // A file where a folder belongs is an error the window shows, not a crash.
    std::fclose(std::fopen((top + "file").c_str(), "w"));
    try {
        MakeProfileFolder(top + "file/vroomzle/");
        ADD_FAILURE() << "no error for a file in the way";
    } catch (const GameError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    EXPECT_EQ(std::system(("rm -rf " + top).c_str()), 0);
}
