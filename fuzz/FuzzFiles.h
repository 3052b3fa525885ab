#pragma once
// The targets hand their bytes to the game's own file readers, so each process
// gets a folder of its own to put the file in (libFuzzer's -jobs run several).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace fuzz {

// `<temp>/vz-fuzz-<pid>/` with map/ and tiles/, made on first use and removed
// when the process ends normally. TMPDIR chooses the temp folder.
inline const std::string& ProcessFolder()
{
    struct Folder {
        std::filesystem::path Path;
        std::string Text;
        Folder() : Path(std::filesystem::temp_directory_path() / ("vz-fuzz-" + std::to_string(::getpid())))
        {
            std::filesystem::create_directories(Path / "map");
            std::filesystem::create_directories(Path / "tiles");
            Text = Path.string() + "/";
        }
        ~Folder()
        {
            std::error_code ignored;
            std::filesystem::remove_all(Path, ignored);
        }
    };
    static const Folder folder;
    return folder.Text;
}

inline void WriteFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
}

inline std::string ReadFile(const std::string& path)
{
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return text;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, got);
    std::fclose(file);
    return text;
}

} // namespace fuzz
