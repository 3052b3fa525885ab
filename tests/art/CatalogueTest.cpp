#include "view/ImageCatalogue.h"
#include "view/PictureFiles.h"
#include "view/Projection.h"

#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <iterator>
#include <vector>

namespace {

constexpr uint32_t Key = 0x00fd43f2;      // transparent: red 253, green 67, blue 242
constexpr uint32_t Yellow0 = 0x00ffff00;  // transparent inside of the marker

bool InFootprint(int u, int v)
{
    const int a = u + 2 * v, b = u - 2 * v;
    return a >= 64 && a < 128 && b >= -64 && b < 64;
}

// Pixels along a row beyond the footprint; 0 inside it.
int Outside(int u, int v)
{
    const int a = u + 2 * v, b = u - 2 * v;
    return std::max({64 - a, a - 127, -64 - b, b - 63, 0});
}

} // namespace

TEST(Catalogue, SizesAndDrawModes)
{
    const Catalogue& c = BuiltInCatalogue();
    for (int i = 0; i < CatalogueSize; ++i) {
        const bool car = i >= 1 && i <= 82;
        const bool small = car || i == 89;
        EXPECT_EQ(c[i].Width, small ? 74 : 96) << i;
        EXPECT_EQ(c[i].Height, 48) << i;
        EXPECT_EQ(c[i].Pixels.size(), static_cast<size_t>(c[i].Width * c[i].Height)) << i;
        EXPECT_EQ(c[i].Mode, i == 89 ? DrawMode::Opaque : DrawMode::Blend) << i;
    }
}

TEST(Catalogue, AlphaIsAllOrNothingWithTheKeyColours)
{
    const Catalogue& c = BuiltInCatalogue();
    for (int i = 0; i < CatalogueSize; ++i) {
        int opaque = 0;
        for (int y = 0; y < c[i].Height; ++y)
            for (int x = 0; x < c[i].Width; ++x) {
                const uint32_t p = c[i].At(x, y);
                const uint32_t a = p >> 24;
                ASSERT_TRUE(a == 0 || a == 255) << "entry " << i << " at " << x << "," << y;
                if (a == 255) {
                    ++opaque;
                } else if (i == 0 && InFootprint(x, y)) {
                    ASSERT_EQ(p, Yellow0) << "marker inside at " << x << "," << y;
                } else {
                    ASSERT_EQ(p, Key) << "entry " << i << " at " << x << "," << y;
                }
            }
        if (i == 89) {
            EXPECT_EQ(opaque, 74 * 48);
        } else {
            EXPECT_GT(opaque, 300) << i;
        }
    }
}

TEST(Catalogue, MarkerTracesTheFootprint)
{
    const Picture& m = BuiltInCatalogue()[0];
    for (int v = 0; v < 48; ++v)
        for (int u = 0; u < 96; ++u) {
            const uint32_t p = m.At(u, v);
            if (!InFootprint(u, v)) {
                EXPECT_EQ(p >> 24, 0u) << u << "," << v;
            } else if (p >> 24 == 255) {
                EXPECT_TRUE((p & 0xffffff) == 0xffff00 || (p & 0xffffff) == 0xff0000) << u << "," << v;
            }
        }
    // About 14 pixels of frame along the middle row, red at its outer edge.
    int frame = 0;
    for (int u = 0; u < 48; ++u)
        frame += m.At(u, 24) >> 24 == 255;
    EXPECT_GE(frame, 13);
    EXPECT_LE(frame, 15);
    EXPECT_EQ(m.At(16, 24) & 0xffffff, 0xff0000u); // first footprint pixel of that row
    EXPECT_EQ(m.At(24, 24) & 0xffffff, 0xffff00u);
    EXPECT_EQ(m.At(48, 24) >> 24, 0u);
}

TEST(Catalogue, TilesCoverTheFootprintAndStayWithinTheirBorder)
{
    const Catalogue& c = BuiltInCatalogue();
    for (int i = 83; i <= 88; ++i) {
        int grey = 0;
        for (int v = 0; v < 48; ++v)
            for (int u = 0; u < 96; ++u) {
                const uint32_t p = c[i].At(u, v);
                if (InFootprint(u, v)) {
                    ASSERT_EQ(p >> 24, 255u) << "tile " << i << " leaves a hole at " << u << "," << v;
                } else if (p >> 24 == 255) {
                    ASSERT_LE(Outside(u, v), 2) << "tile " << i << " spills at " << u << "," << v;
                }
                grey += (p & 0xffffff) == 0xb8b8b8;
            }
        EXPECT_GT(grey, 1000) << i; // mostly light grey 184
    }
    // The numbered tiles differ from the empty one, and from each other.
    for (int i = 84; i <= 88; ++i)
        for (int j = 83; j < i; ++j)
            EXPECT_NE(c[i].Pixels, c[j].Pixels) << i << " vs " << j;
}

TEST(Catalogue, TilesOfNeighbouringBaysLeaveNoGap)
{
    // Lay the empty tile over a 3 × 3 block of bays and look for holes in the middle bay.
    const Picture& tile = BuiltInCatalogue()[83];
    std::vector<int> covered(768 * 480, 0);
    for (int column = 5; column <= 7; ++column)
        for (int row = 11; row <= 13; ++row) {
            const Rect r = BayRect(column, row);
            for (int v = 0; v < 48; ++v)
                for (int u = 0; u < 96; ++u)
                    if (tile.At(u, v) >> 24 == 255)
                        covered[static_cast<size_t>((r.Top + v) * 768 + r.Left + u)] = 1;
        }
    const Rect middle = BayRect(6, 12);
    for (int v = 0; v < 48; ++v)
        for (int u = 0; u < 96; ++u) {
            const BayPos at = BayAt(middle.Left + u, middle.Top + v);
            if (at == BayPos{6, 12}) {
                ASSERT_TRUE(covered[static_cast<size_t>((middle.Top + v) * 768 + middle.Left + u)]) << u << "," << v;
            }
        }
}

TEST(Catalogue, CarsAreAllDifferentAndSitInTheirBay)
{
    const Catalogue& c = BuiltInCatalogue();
    for (int i = 1; i <= 82; ++i) {
        for (int j = 1; j < i; ++j)
            ASSERT_NE(c[i].Pixels, c[j].Pixels) << i << " vs " << j;
        // Every opaque pixel lies over the bay rectangle: the car rectangle
        // reaches 4 pixels above it, and nothing below its bottom 4 pixels.
        int lowest = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 74; ++x)
                if (c[i].At(x, y) >> 24 == 255)
                    lowest = std::max(lowest, y);
        EXPECT_GT(lowest, 36) << "car " << i << " floats above its bay";
    }
}

TEST(Catalogue, StoredFormMatchesTheBuildsCatalogueFile)
{
    std::ifstream in(VZ_BUILD_DIR "/art/catalogue.bin", std::ios::binary);
    ASSERT_TRUE(in.good());
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const Catalogue& c = BuiltInCatalogue();
    size_t at = 0;
    auto read32 = [&](size_t p) {
        return static_cast<uint32_t>(bytes[p]) | static_cast<uint32_t>(bytes[p + 1]) << 8 |
               static_cast<uint32_t>(bytes[p + 2]) << 16 | static_cast<uint32_t>(bytes[p + 3]) << 24;
    };
    for (int i = 0; i < CatalogueSize; ++i) {
        ASSERT_LE(at + 8, bytes.size());
        EXPECT_EQ(static_cast<int32_t>(read32(at)), c[i].Width);
        EXPECT_EQ(static_cast<int32_t>(read32(at + 4)), c[i].Height);
        at += 8;
        for (uint32_t p : c[i].Pixels) {
            ASSERT_EQ(read32(at), p) << "entry " << i;
            at += 4;
        }
    }
    EXPECT_EQ(at, bytes.size());
}

TEST(Catalogue, ArtworkIsEmbedded)
{
    for (Artwork a : {Artwork::PageBackground, Artwork::ShopPreviewEmpty, Artwork::ShopAutoPreviewEmpty,
                      Artwork::ShopPreviewOccupied, Artwork::ShopAutoPreviewOccupied, Artwork::ShopUndo,
                      Artwork::ShopBronzeMedal, Artwork::ShopSilverMedal, Artwork::ShopGoldMedal,
                      Artwork::HeaderPlaceholder}) {
        const EmbeddedBytes b = BuiltInArtwork(a);
        ASSERT_GT(b.Size, 100u);
        EXPECT_EQ(b.Data[0], 0xff); // JPEG start of image
        EXPECT_EQ(b.Data[1], 0xd8);
    }
    const EmbeddedBytes icon = BuiltInArtwork(Artwork::Icon);
    ASSERT_GT(icon.Size, 8u);
    EXPECT_EQ(icon.Data[1], 'P');
    EXPECT_EQ(icon.Data[2], 'N');
    EXPECT_EQ(icon.Data[3], 'G');
}

// The window's start-up decodes the page background on one other core and the
// eight shop pictures on another while it decodes the header placeholder itself
// (TForm1's constructor, which needs Qt). The same decodes at once on three
// threads give what each gives alone; ./test.sh --tsan runs this under
// ThreadSanitizer (libjpeg itself is not built with it).
TEST(Catalogue, StartUpJpegsDecodeOnThreeThreadsAsOnOne)
{
    const Artwork shop[] = {Artwork::ShopPreviewEmpty, Artwork::ShopAutoPreviewEmpty, Artwork::ShopPreviewOccupied,
                            Artwork::ShopAutoPreviewOccupied, Artwork::ShopUndo, Artwork::ShopBronzeMedal,
                            Artwork::ShopSilverMedal, Artwork::ShopGoldMedal};
    auto decode = [](Artwork which) {
        const EmbeddedBytes bytes = BuiltInArtwork(which);
        PictureRead read = ReadJpegBytes(bytes.Data, bytes.Size);
        EXPECT_FALSE(read.Error) << read.Error.Message();
        return read.Image;
    };
    auto decodeShop = [&] {
        std::vector<Picture> pictures;
        for (Artwork which : shop)
            pictures.push_back(decode(which));
        return pictures;
    };
    const Picture page = decode(Artwork::PageBackground), holder = decode(Artwork::HeaderPlaceholder);
    const std::vector<Picture> shopAlone = decodeShop();
    for (int round = 0; round < 2; ++round) {
        std::future<Picture> pageBackground = std::async(std::launch::async, decode, Artwork::PageBackground);
        std::future<std::vector<Picture>> shopPictures = std::async(std::launch::async, decodeShop);
        const Picture placeholder = decode(Artwork::HeaderPlaceholder);
        EXPECT_EQ(pageBackground.get().Pixels, page.Pixels) << "the page background, round " << round;
        const std::vector<Picture> shopTogether = shopPictures.get();
        ASSERT_EQ(shopTogether.size(), shopAlone.size());
        for (size_t i = 0; i < shopAlone.size(); ++i)
            EXPECT_EQ(shopTogether[i].Pixels, shopAlone[i].Pixels) << "shop picture " << i << ", round " << round;
        EXPECT_EQ(placeholder.Pixels, holder.Pixels) << "the header placeholder, round " << round;
    }
}
