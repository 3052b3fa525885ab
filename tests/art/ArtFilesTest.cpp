// The picture files and the built-in artwork decode with the game's own loaders.
#include "view/ImageCatalogue.h"
#include "view/PictureFiles.h"

#include <gtest/gtest.h>

#include <string>

TEST(ArtFiles, HeaderTilesDecodeAtTheirSize)
{
    for (int n = 0; n <= 8; ++n) {
        const Picture p = ReadJpegFile(std::string(VZ_BUILD_DIR "/tiles/") + std::to_string(n) + ".jpg").Image;
        EXPECT_EQ(p.Width, 25) << n;
        EXPECT_EQ(p.Height, 64) << n;
    }
}

TEST(ArtFiles, BackgroundsDecodeAtViewSizeAndDifferPerShape)
{
    Picture six, ten;
    for (int n = 1; n <= 10; ++n) {
        const Picture p = ReadBitmapFile(std::string(VZ_BUILD_DIR "/map/map") + std::to_string(n) + ".bmp").Image;
        EXPECT_EQ(p.Width, 768) << n;
        EXPECT_EQ(p.Height, 480) << n;
        for (uint32_t px : p.Pixels)
            ASSERT_EQ(px >> 24, 255u) << n;
        if (n == 6)
            six = p;
        if (n == 10)
            ten = p;
    }
    EXPECT_NE(six.Pixels, ten.Pixels); // shapes 6 and 10 share bays, not pictures
}

TEST(ArtFiles, BuiltInJpegsDecodeAtTheirSize)
{
    const EmbeddedBytes page = BuiltInArtwork(Artwork::PageBackground);
    const Picture p = ReadJpegBytes(page.Data, page.Size).Image;
    EXPECT_EQ(p.Width, 769);
    EXPECT_EQ(p.Height, 481);
    for (Artwork a : {Artwork::ShopPreviewEmpty, Artwork::ShopAutoPreviewEmpty, Artwork::ShopPreviewOccupied,
                      Artwork::ShopAutoPreviewOccupied, Artwork::ShopUndo, Artwork::ShopBronzeMedal,
                      Artwork::ShopSilverMedal, Artwork::ShopGoldMedal, Artwork::HeaderPlaceholder}) {
        const EmbeddedBytes b = BuiltInArtwork(a);
        const Picture s = ReadJpegBytes(b.Data, b.Size).Image;
        EXPECT_EQ(s.Width, 25);
        EXPECT_EQ(s.Height, 64);
    }
    // The placeholder is a plain red panel.
    const EmbeddedBytes holder = BuiltInArtwork(Artwork::HeaderPlaceholder);
    const Picture h = ReadJpegBytes(holder.Data, holder.Size).Image;
    const uint32_t mid = h.At(12, 32);
    EXPECT_GT((mid >> 16) & 255, 150u);
    EXPECT_LT((mid >> 8) & 255, 60u);
}
