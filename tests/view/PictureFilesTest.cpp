// Background bitmaps and header JPEGs as the game reads them from its folder.
#include "view/PictureFiles.h"

#include "JpegWriter.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

using fixture::TempFolder;

// The error text of a read, or "" when it succeeds.
std::string BitmapError(const std::string& path) { return ReadBitmapFile(path).Error.Message(); }
std::string JpegError(const std::string& path) { return ReadJpegFile(path).Error.Message(); }

uint32_t Colour(int32_t x, int32_t y) { return Argb(uint32_t(x * 40 + y) & 255, uint32_t(x * 17), uint32_t(y * 23), uint32_t((x ^ y) * 9)); }

// A JPEG of the given colours: three components, or one for grey.
std::vector<uint8_t> JpegBytes(int32_t width, int32_t height, const std::function<uint32_t(int32_t, int32_t)>& colour,
                               bool grey = false)
{
    JpegOptions o;
    o.Width = width;
    o.Height = height;
    o.Grey = grey;
    return WriteJpeg(o, colour);
}

// A grey progressive JPEG of `scans` scans: the DC and then each AC coefficient on
// its own, every one sent one bit at a time (the longest progression there is).
std::vector<uint8_t> ManyScanJpeg(int32_t width, int32_t height, size_t scans)
{
    std::vector<jpeg_scan_info> script;
    for (int k = 0; k < 64; ++k)
        for (int al = 10; al >= 0; --al) {
            jpeg_scan_info scan{};
            scan.comps_in_scan = 1;
            scan.Ss = scan.Se = k;
            scan.Ah = al == 10 ? 0 : al + 1;
            scan.Al = al;
            script.push_back(scan);
        }
    script.resize(scans);
    JpegOptions o;
    o.Width = width;
    o.Height = height;
    o.Grey = true;
    o.Quality = 75; // libjpeg's own default
    o.Script = &script;
    return WriteJpeg(o, [](int x, int y) { return uint32_t((x * 7 + y * 3) & 255) << 8; });
}

// Soft colour fields, the kind of picture a 25 × 64 header tile is.
uint32_t Smooth(int32_t x, int32_t y) { return Rgb(uint32_t(40 + x * 6), uint32_t(200 - y * 2), uint32_t(90 + (x + y))); }

int Channel(uint32_t pixel, int shift) { return int((pixel >> shift) & 255); }

} // namespace

TEST(BitmapFile, GoodFilesOf8_24And32BitsGiveExactPixels)
{
    TempFolder folder;
    for (int bits : {8, 24, 32}) {
        SCOPED_TRACE(::testing::Message() << bits << " bits");
        const std::string path = folder.Folder() + "map" + std::to_string(bits) + ".bmp";
        // Odd width: every row of the 8- and 24-bit files carries padding.
        fixture::WriteBytes(path, fixture::BitmapBytes(13, 7, bits, Colour));
        const Picture p = ReadBitmapFile(path).Image;
        ASSERT_EQ(p.Width, 13);
        ASSERT_EQ(p.Height, 7);
        EXPECT_EQ(p.Mode, DrawMode::Opaque);
        for (int32_t y = 0; y < 7; ++y)
            for (int32_t x = 0; x < 13; ++x) {
                const uint32_t c = Colour(x, y);
                // The 8-bit file has a grey palette indexed by the blue byte.
                const uint32_t expected = bits == 8 ? Rgb(c & 255, c & 255, c & 255)
                                          : bits == 24 ? (c | 0xFF000000u)
                                                       : c;
                ASSERT_EQ(p.At(x, y), expected) << x << "," << y;
            }
    }
}

TEST(BitmapFile, DamagedFilesAreNotValidBitmaps)
{
    TempFolder folder;
    const std::vector<uint8_t> good = fixture::BitmapBytes(40, 30, 24, Colour);
    auto write = [&](const std::string& name, std::vector<uint8_t> bytes) {
        const std::string path = folder.Folder() + name;
        fixture::WriteBytes(path, bytes);
        return path;
    };
    std::vector<uint8_t> cutPixels = good;
    cutPixels.resize(good.size() - 5);
    std::vector<uint8_t> cutHeaders = good;
    cutHeaders.resize(30);
    std::vector<uint8_t> garbage(500);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = uint8_t(i * 131 + 7);
    std::vector<uint8_t> huge = good; // 1,000,000 × 1,000,000 declared, 3,600 bytes of pixels
    huge[18] = 0x40, huge[19] = 0x42, huge[20] = 0x0F, huge[21] = 0;
    huge[22] = 0x40, huge[23] = 0x42, huge[24] = 0x0F, huge[25] = 0;
    // The largest dimensions a header can declare: the size check must not wrap.
    std::vector<uint8_t> overflow = good;
    overflow[18] = 0xFF, overflow[19] = 0xFF, overflow[20] = 0xFF, overflow[21] = 0x7F;
    overflow[22] = 0x00, overflow[23] = 0x00, overflow[24] = 0x00, overflow[25] = 0x80;
    overflow[28] = 32;
    std::vector<uint8_t> offPastEnd = good; // pixel data said to start past the end
    offPastEnd[10] = 0xFF, offPastEnd[11] = 0xFF;
    // Wrong headers: other formats renamed, bit depths and compressions no bitmap has.
    const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                      0, 0, 0, 1, 0, 0, 0, 1, 8, 2, 0, 0, 0, 0x90, 0x77, 0x53, 0xDE};
    const std::vector<uint8_t> jpeg = JpegBytes(8, 8, Smooth);
    std::vector<uint8_t> noBits = good;
    noBits[28] = 0;
    std::vector<uint8_t> twoBits = good;
    twoBits[28] = 2;
    std::vector<uint8_t> jpegInside = good; // BI_JPEG
    jpegInside[30] = 4;
    std::vector<uint8_t> rleTooLong = good; // BI_RLE8 whose data would run past the end
    rleTooLong[28] = 8, rleTooLong[30] = 1;
    rleTooLong[34] = 0xFF, rleTooLong[35] = 0xFF, rleTooLong[36] = 0x0F;
    std::vector<uint8_t> oddInfo = good; // an info header of a size no version has
    oddInfo[14] = 20;

    for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::vector<uint8_t>>>{
             {"cut-pixels.bmp", cutPixels},
             {"cut-headers.bmp", cutHeaders},
             {"garbage.bmp", garbage},
             {"empty.bmp", {}},
             {"huge.bmp", huge},
             {"overflow.bmp", overflow},
             {"offset.bmp", offPastEnd},
             {"only-signature.bmp", {'B', 'M'}},
             {"png.bmp", png},
             {"jpeg.bmp", jpeg},
             {"no-bits.bmp", noBits},
             {"two-bits.bmp", twoBits},
             {"jpeg-inside.bmp", jpegInside},
             {"rle-too-long.bmp", rleTooLong},
             {"odd-info.bmp", oddInfo}})
        EXPECT_EQ(BitmapError(write(name, bytes)), "Bitmap image is not valid") << name;

    EXPECT_EQ(BitmapError(folder.Folder() + "missing.bmp"), "File not found");
    EXPECT_EQ(BitmapError(write("good.bmp", good)), "");
}

TEST(JpegFile, DecodesSizeOpaqueAlphaAndCloseColours)
{
    TempFolder folder;
    for (bool grey : {false, true}) {
        SCOPED_TRACE(grey ? "grey" : "colour");
        const std::string path = folder.Folder() + (grey ? "grey.jpg" : "0.jpg");
        fixture::WriteBytes(path, JpegBytes(25, 64, Smooth, grey));
        const Picture p = ReadJpegFile(path).Image;
        ASSERT_EQ(p.Width, 25);
        ASSERT_EQ(p.Height, 64);
        EXPECT_EQ(p.Mode, DrawMode::Opaque);
        int64_t error = 0;
        int worst = 0;
        for (int32_t y = 0; y < 64; ++y)
            for (int32_t x = 0; x < 25; ++x) {
                const uint32_t got = p.At(x, y);
                ASSERT_EQ(got >> 24, 255u);
                const uint32_t want = Smooth(x, y);
                for (int shift : {0, 8, 16}) {
                    const int expected = grey ? Channel(want, 8) : Channel(want, shift);
                    const int diff = std::abs(Channel(got, shift) - expected);
                    error += diff;
                    worst = std::max(worst, diff);
                }
            }
        // 256 dithered colours over a soft field: close on average, never far off.
        EXPECT_LT(double(error) / (25 * 64 * 3), 6.0);
        EXPECT_LT(worst, 40);
    }
}

TEST(JpegFile, DamagedFilesFailWithLibjpegsMessage)
{
    TempFolder folder;
    const std::vector<uint8_t> good = JpegBytes(25, 64, Smooth);
    auto write = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = folder.Folder() + name;
        fixture::WriteBytes(path, bytes);
        return path;
    };

    // Cut short inside the scan: libjpeg would pad the picture with grey and carry on.
    EXPECT_EQ(JpegError(write("cut.jpg", std::vector<uint8_t>(good.begin(), good.begin() + long(good.size() * 2 / 3)))),
              "Premature end of JPEG file");
    EXPECT_EQ(JpegError(write("cut-header.jpg", std::vector<uint8_t>(good.begin(), good.begin() + 100))),
              "Premature end of JPEG file");
    EXPECT_EQ(JpegError(write("garbage.jpg", std::vector<uint8_t>(300, 0x5A))), "Not a JPEG file: starts with 0x5a 0x5a");
    EXPECT_EQ(JpegError(write("empty.jpg", {})), "Empty input file");
    EXPECT_EQ(JpegError(write("bitmap.jpg", fixture::BitmapBytes(4, 4, 24, Colour))), "Not a JPEG file: starts with 0x42 0x4d");
    EXPECT_EQ(JpegError(write("only-start.jpg", {0xFF, 0xD8})), "Premature end of JPEG file");
    std::vector<uint8_t> noWidth = good;
    for (size_t i = 2; i + 8 < noWidth.size(); ++i)
        if (noWidth[i] == 0xFF && noWidth[i + 1] == 0xC0) {
            noWidth[i + 7] = 0, noWidth[i + 8] = 0;
            break;
        }
    EXPECT_EQ(JpegError(write("no-width.jpg", noWidth)), "Empty JPEG image (DNL not supported)");

    // Enormous declared dimensions are refused before anything is allocated.
    std::vector<uint8_t> huge = good;
    for (size_t i = 2; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) { // SOF0: length, precision, height, width
            huge[i + 5] = 0xFD, huge[i + 6] = 0xE8; // 65000
            huge[i + 7] = 0xFD, huge[i + 8] = 0xE8;
            break;
        }
    EXPECT_EQ(JpegError(write("huge.jpg", huge)), "JPEG image is too large (65000 x 65000)");

    EXPECT_EQ(JpegError(write("good.jpg", good)), "");
    // The same bytes in memory, as the built-in artwork is decoded.
    EXPECT_EQ(ReadJpegBytes(good.data(), good.size()).Image.Width, 25);
}

TEST(JpegFile, ProgressionsOfMoreThanAHundredScansAreRefused)
{
    // Every scan is a pass over the whole picture, so a few kilobytes of scans
    // over a large one would stall the header refresh for minutes.
    TempFolder folder;
    const std::string many = folder.Folder() + "many.jpg";
    fixture::WriteBytes(many, ManyScanJpeg(16, 16, 120));
    EXPECT_EQ(JpegError(many), "JPEG image has more than 100 scans");

    const std::string hundred = folder.Folder() + "hundred.jpg";
    fixture::WriteBytes(hundred, ManyScanJpeg(16, 16, 100));
    EXPECT_EQ(JpegError(hundred), "");
    EXPECT_EQ(ReadJpegFile(hundred).Image.Width, 16);
}

TEST(JpegFile, MissingOrUnreadableFileCannotBeOpened)
{
    TempFolder folder;
    const std::string missing = folder.Folder() + "tiles/3.jpg";
    EXPECT_EQ(JpegError(missing), "Cannot open file " + missing);
    // A folder where the file should be opens on this system but cannot be read.
    std::filesystem::create_directories(folder.Path / "tiles" / "4.jpg");
    EXPECT_EQ(JpegError(folder.Folder() + "tiles/4.jpg"), "Cannot open file " + folder.Folder() + "tiles/4.jpg");
}
