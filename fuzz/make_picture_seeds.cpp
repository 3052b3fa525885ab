// Writes the small bitmap and JPEG seeds of fuzz/corpus/bmp and fuzz/corpus/jpeg:
// one of each layout the readers handle, and a few damaged ones.
//   build-fuzz/fuzz/fuzz_make_picture_seeds fuzz/corpus
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "view/JpegWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

uint32_t Colour(int x, int y) { return (uint32_t((x * 40 + y) & 255) << 24) | (uint32_t(x * 17 & 255) << 16) | (uint32_t(y * 23 & 255) << 8) | uint32_t((x ^ y) * 9 & 255); }

struct BitmapFormat {
    int Width = 8;
    int Height = 6;
    int Bits = 24;
    uint32_t Compression = 0;
    bool TopDown = false;
    bool Os2 = false;           // the 12-byte core header
    std::vector<uint32_t> Masks; // BI_BITFIELDS: red, green, blue (and alpha)
    Bytes Rle;                  // the pixel data of an RLE bitmap
};

BitmapFormat Format(int width, int height, int bits, uint32_t compression = 0)
{
    BitmapFormat s;
    s.Width = width;
    s.Height = height;
    s.Bits = bits;
    s.Compression = compression;
    return s;
}

Bytes Bitmap(const BitmapFormat& s)
{
    const uint32_t colours = s.Bits <= 8 ? (1u << s.Bits) : 0;
    const uint32_t entry = s.Os2 ? 3 : 4;
    const uint32_t info = s.Os2 ? 12 : 40;
    const uint32_t rowBytes = (uint32_t(s.Width) * uint32_t(s.Bits) + 31) / 32 * 4;
    const uint32_t offBits = 14 + info + uint32_t(s.Masks.size()) * 4 + colours * entry;
    Bytes pixels;
    if (s.Compression == 1 || s.Compression == 2) {
        pixels = s.Rle;
    } else {
        for (int n = 0; n < s.Height; ++n) {
            const int y = s.TopDown ? n : s.Height - 1 - n;
            Bytes row(rowBytes, 0);
            for (int x = 0; x < s.Width; ++x) {
                const uint32_t c = Colour(x, y);
                switch (s.Bits) {
                case 1: row[size_t(x / 8)] |= uint8_t(((c >> 3) & 1) << (7 - x % 8)); break;
                case 4: row[size_t(x / 2)] |= uint8_t((c & 15) << (x % 2 ? 0 : 4)); break;
                case 8: row[size_t(x)] = uint8_t(c); break;
                case 16: {
                    const uint32_t v = ((c >> 19 & 31) << 11) | ((c >> 10 & 63) << 5) | (c >> 3 & 31);
                    row[size_t(x) * 2] = uint8_t(v), row[size_t(x) * 2 + 1] = uint8_t(v >> 8);
                    break;
                }
                default:
                    for (int k = 0; k < s.Bits / 8; ++k)
                        row[size_t(x) * size_t(s.Bits / 8) + size_t(k)] = uint8_t(c >> (8 * k));
                }
            }
            pixels.insert(pixels.end(), row.begin(), row.end());
        }
    }
    Bytes b{'B', 'M'};
    Put32(b, offBits + uint32_t(pixels.size()));
    Put32(b, 0);
    Put32(b, offBits);
    Put32(b, info);
    if (s.Os2) {
        Put16(b, uint32_t(s.Width));
        Put16(b, uint32_t(s.Height));
        Put16(b, 1);
        Put16(b, uint32_t(s.Bits));
    } else {
        Put32(b, uint32_t(s.Width));
        Put32(b, uint32_t(s.TopDown ? -s.Height : s.Height));
        Put16(b, 1);
        Put16(b, uint32_t(s.Bits));
        Put32(b, s.Compression);
        Put32(b, uint32_t(pixels.size()));
        Put32(b, 2835);
        Put32(b, 2835);
        Put32(b, colours);
        Put32(b, 0);
    }
    for (uint32_t m : s.Masks)
        Put32(b, m);
    for (uint32_t i = 0; i < colours; ++i) {
        const uint32_t grey = i * 255 / (colours - 1);
        b.push_back(uint8_t(grey));
        b.push_back(uint8_t(255 - grey));
        b.push_back(uint8_t(i * 37));
        if (!s.Os2)
            b.push_back(0);
    }
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

// The seeds' colours put the first byte of Colour in the first component.
Bytes Jpeg(JpegOptions o)
{
    o.Quality = 90;
    return WriteJpeg(o, [&o](int x, int y) {
        const uint32_t c = Colour(x, y);
        return o.Grey ? (c & 255) << 8 : (c & 255) << 16 | (c & 0xFF00) | ((c >> 16) & 255);
    });
}

void Write(const std::string& path, const Bytes& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

Bytes Cut(Bytes b, size_t keep)
{
    b.resize(keep);
    return b;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    const std::string bmp = std::string(argv[1]) + "/bmp/";
    const std::string jpeg = std::string(argv[1]) + "/jpeg/";

    BitmapFormat s;
    Write(bmp + "rgb24-odd-width.bmp", Bitmap(Format(13, 7, 24)));
    Write(bmp + "rgb32-alpha.bmp", Bitmap(Format(9, 5, 32)));
    s = Format(12, 6, 24);
    s.TopDown = true;
    Write(bmp + "rgb24-top-down.bmp", Bitmap(s));
    Write(bmp + "pal8.bmp", Bitmap(Format(10, 6, 8)));
    Write(bmp + "pal4.bmp", Bitmap(Format(11, 5, 4)));
    Write(bmp + "pal1.bmp", Bitmap(Format(19, 4, 1)));
    s = Format(10, 4, 24);
    s.Os2 = true;
    Write(bmp + "os2-rgb24.bmp", Bitmap(s));
    s = Format(7, 5, 16, 3);
    s.Masks = {0xF800, 0x07E0, 0x001F};
    Write(bmp + "bitfields16.bmp", Bitmap(s));
    s = Format(6, 4, 32, 3);
    s.Masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    Write(bmp + "bitfields32.bmp", Bitmap(s));
    // RLE: runs, an absolute run, a delta, end of line and end of bitmap.
    s = Format(8, 4, 8, 1);
    s.Rle = {4, 7, 0, 3, 1, 2, 3, 0, 1, 5, 0, 0, 8, 9, 0, 2, 1, 1, 2, 4, 0, 0, 0, 1};
    Write(bmp + "rle8.bmp", Bitmap(s));
    s = Format(8, 4, 4, 2);
    s.Rle = {8, 0x12, 0, 0, 0, 4, 0x34, 0x56, 6, 0x78, 0, 0, 0, 1};
    Write(bmp + "rle4.bmp", Bitmap(s));
    const Bytes good = Bitmap(Format(16, 8, 24));
    Write(bmp + "cut-pixels.bmp", Cut(good, good.size() - 7));
    Write(bmp + "cut-header.bmp", Cut(good, 30));

    JpegOptions j;
    Write(jpeg + "tile-25x64.jpg", Jpeg(j));
    j = {16, 16, true};
    Write(jpeg + "grey.jpg", Jpeg(j));
    j = {24, 17};
    j.Progressive = true;
    Write(jpeg + "progressive.jpg", Jpeg(j));
    j = {20, 20};
    j.Optimize = true;
    j.Restart = 1;
    j.Full = true;
    Write(jpeg + "optimised-restarts-444.jpg", Jpeg(j));
    j = {16, 12};
    j.Arithmetic = true;
    Write(jpeg + "arithmetic.jpg", Jpeg(j));
    j = {24, 16};
    j.Progressive = true;
    j.Arithmetic = true;
    j.Grey = true;
    Write(jpeg + "progressive-arithmetic-grey.jpg", Jpeg(j));
    const Bytes tile = Jpeg(JpegOptions{});
    Write(jpeg + "cut-scan.jpg", Cut(tile, tile.size() * 2 / 3));
    return 0;
}
