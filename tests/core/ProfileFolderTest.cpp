#include "core/ProfileFolder.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(ProfileFolder, BesideAPortableProgramWhileThePlayerCanWriteThereElseInTheDataFolder)
{
    const std::string program = "/opt/vroomzle/";
    struct Case {
        bool Installed;
        bool Writable;
        const char* XdgDataHome;
        const char* Home;
        const char* Expected;
    };
    const Case cases[] = {
        // The portable folder: nothing changes, whatever the environment says.
        {false, true, "/data", "/home/ann", "/opt/vroomzle/"},
        {false, true, nullptr, nullptr, "/opt/vroomzle/"},
        // A portable folder the player may not write: the player's data folder.
        {false, false, "/data", "/home/ann", "/data/vroomzle/"},
        {false, false, "/data//", "/home/ann", "/data/vroomzle/"},
        {false, false, "/", "/home/ann", "/vroomzle/"},
        {false, false, nullptr, "/home/ann", "/home/ann/.local/share/vroomzle/"},
        {false, false, "", "/home/ann/", "/home/ann/.local/share/vroomzle/"},
        {false, false, "data", "/home/ann", "/home/ann/.local/share/vroomzle/"},
        {false, false, "~/data", "/home/ann", "/home/ann/.local/share/vroomzle/"},
        // No usable home at all: the program folder, where a save fails as it always did.
        {false, false, nullptr, nullptr, "/opt/vroomzle/"},
        {false, false, "", "home", "/opt/vroomzle/"},
        // An installed game: the data folder even where the player (root) may write.
        {true, true, "/data", "/root", "/data/vroomzle/"},
        {true, true, nullptr, "/root", "/root/.local/share/vroomzle/"},
        {true, false, "", "/home/ann", "/home/ann/.local/share/vroomzle/"},
        // ... and never its own folder: without a home there is none.
        {true, true, nullptr, nullptr, ""},
        {true, false, "data", "home", ""},
    };
    for (const Case& c : cases) {
        const auto writable = [&](const std::string& folder) {
            EXPECT_EQ(folder, program);
            return c.Writable;
        };
        EXPECT_EQ(ProfileFolder(program, c.Installed, writable, c.XdgDataHome, c.Home), c.Expected)
            << "installed " << c.Installed << ", writable " << c.Writable << ", XDG_DATA_HOME "
            << (c.XdgDataHome ? c.XdgDataHome : "unset") << ", HOME " << (c.Home ? c.Home : "unset");
    }
}

TEST(ProfileFolder, TheRealCheckFollowsThePermissionsOfTheFolder)
{
    const std::string folder = TempFolder();
    EXPECT_TRUE(FolderWritable(folder));
    EXPECT_EQ(ProfileFolder(folder), folder);
    EXPECT_FALSE(FolderWritable(folder + "missing/"));
    // The install's marker beside the program sends the profile to the data folder.
    std::fclose(std::fopen((folder + InstalledMarker).c_str(), "w"));
    EXPECT_NE(ProfileFolder(folder), folder);
    ::unlink((folder + InstalledMarker).c_str());
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
    EXPECT_FALSE(MakeProfileFolder(folder));
    for (const std::string& part : {top + "home", top + "home/.local", top + "home/.local/share", folder})
        EXPECT_EQ(ModeOf(part), 0700u) << part;
    // An existing folder keeps its mode, with or without the trailing slash.
    ASSERT_EQ(::chmod(folder.c_str(), 0750), 0);
    EXPECT_FALSE(MakeProfileFolder(folder));
    EXPECT_FALSE(MakeProfileFolder(top + "home/.local/share/vroomzle"));
    EXPECT_EQ(ModeOf(folder), 0750u);
    EXPECT_EQ(ModeOf(top), 0755u);

    // A file where a folder belongs is an error the window shows, not a crash.
    std::fclose(std::fopen((top + "file").c_str(), "w"));
    for (const std::string& unusable : {top + "file/vroomzle/", std::string()}) {
        EXPECT_EQ(MakeProfileFolder(unusable).Message(), "File not found") << unusable;
    }
    EXPECT_EQ(std::system(("rm -rf " + top).c_str()), 0);
}
