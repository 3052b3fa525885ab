#pragma once
// Picture files written byte by byte, so each test knows exactly what is on disk.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

namespace fixture {

inline void Put16(std::vector<uint8_t>& b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
inline void Put32(std::vector<uint8_t>& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A bottom-up BI_RGB bitmap of 8 (grey palette), 24 or 32 bits; colour(x, y) gives 0xAARRGGBB.
inline std::vector<uint8_t> BitmapBytes(int32_t width, int32_t height, int bits,
                                        const std::function<uint32_t(int32_t, int32_t)>& colour)
{
    const uint32_t rowBytes = (uint32_t(width) * uint32_t(bits) + 31) / 32 * 4;
    const uint32_t palette = bits == 8 ? 256 * 4 : 0;
    const uint32_t offBits = 14 + 40 + palette;
    std::vector<uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, offBits + rowBytes * uint32_t(height));
    Put32(b, 0);
    Put32(b, offBits);
    Put32(b, 40);
    Put32(b, uint32_t(width));
    Put32(b, uint32_t(height));
    Put16(b, 1);
    Put16(b, uint32_t(bits));
    Put32(b, 0);
    Put32(b, rowBytes * uint32_t(height));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, bits == 8 ? 256 : 0);
    Put32(b, 0);
    for (uint32_t i = 0; i < palette / 4; ++i)
        Put32(b, i * 0x010101u);
    for (int32_t y = height - 1; y >= 0; --y) {
        const size_t start = b.size();
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t c = colour(x, y);
            if (bits == 8) {
                b.push_back(uint8_t(c));
            } else {
                b.push_back(uint8_t(c));
                b.push_back(uint8_t(c >> 8));
                b.push_back(uint8_t(c >> 16));
                if (bits == 32)
                    b.push_back(uint8_t(c >> 24));
            }
        }
        b.resize(start + rowBytes, 0);
    }
    return b;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A fresh folder under the system's temporary folder, removed with the object.
struct TempFolder {
    std::filesystem::path Path;
    TempFolder()
    {
        static int counter = 0;
        Path = std::filesystem::temp_directory_path() /
               ("vz-view-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(Path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    std::string Folder() const { return Path.string() + "/"; }
};

} // namespace fixture
