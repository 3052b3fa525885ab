#include "ProfileFolder.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool Absolute(const char* path) { return path && path[0] == '/'; }

// `folder` without trailing slashes, then one.
std::string WithSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

std::string PasswordHome()
{
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return {};
    return found->pw_dir ? found->pw_dir : "";
}

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string ProfileFolder(const std::string& programFolder, bool installed,
                          const std::function<bool(const std::string&)>& writable, const char* xdgDataHome,
                          const char* home)
{
    if (!installed && writable(programFolder))
        return programFolder;
    if (Absolute(xdgDataHome))
        return WithSlash(xdgDataHome) + "vroomzle/";
    if (Absolute(home))
        return WithSlash(home) + ".local/share/vroomzle/";
    return installed ? std::string() : programFolder;
}

std::string ProfileFolder(const std::string& programFolder)
{
    const char* home = std::getenv("HOME");
    std::string fromPasswd;
    if (!Absolute(home)) {
        fromPasswd = PasswordHome();
        home = fromPasswd.c_str();
    }
    struct stat marker {};
    const bool installed = ::lstat((programFolder + InstalledMarker).c_str(), &marker) == 0;
    return ProfileFolder(programFolder, installed, FolderWritable, std::getenv("XDG_DATA_HOME"), home);
}

std::string ProfileToLoad(const std::string& programFolder, const std::string& folder)
{
    const std::string own = folder.empty() ? folder : folder + "vrz.sav";
    const std::string beside = programFolder + "vrz.sav";
    struct stat info {};
    // Anything standing at the profile's own place, even a broken link, is read
    // there and reported as it is.
    if (folder == programFolder || (!own.empty() && ::lstat(own.c_str(), &info) == 0))
        return own;
    return ::stat(beside.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? beside : own;
}

bool FolderWritable(const std::string& folder)
{
    // A save writes a temporary file beside the profile and renames it over.
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

GameError MakeProfileFolder(const std::string& folder)
{
    if (folder.empty())
        return GameError::FromErrno(ENOENT);
    if (IsFolder(folder))
        return {};
    // Each missing part from the top down, private to the player.
    const std::string path = WithSlash(folder);
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) == 0)
            continue;
        const int error = errno;
        if (error == EEXIST && IsFolder(part))
            continue;
        // Something that is not a folder stands in the way.
        return GameError::FromErrno(error == EEXIST ? ENOTDIR : error);
    }
    return {};
}
