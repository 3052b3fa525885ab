#include "view/ImageCatalogue.h"

#include <cstring>
#include <cstdio>
#include <cstdlib>

// Defined by the source that artgen writes at build time.
extern const unsigned char EmbeddedCatalogue[];
extern const std::size_t EmbeddedCatalogueSize;
extern const unsigned char EmbeddedDrawModes[];
extern const std::size_t EmbeddedDrawModesSize;
extern const unsigned char EmbeddedPageBackground[];
extern const std::size_t EmbeddedPageBackgroundSize;
extern const unsigned char EmbeddedShopPicture0[], EmbeddedShopPicture1[], EmbeddedShopPicture2[], EmbeddedShopPicture3[];
extern const unsigned char EmbeddedShopPicture4[], EmbeddedShopPicture5[], EmbeddedShopPicture6[], EmbeddedShopPicture7[];
extern const std::size_t EmbeddedShopPicture0Size, EmbeddedShopPicture1Size, EmbeddedShopPicture2Size, EmbeddedShopPicture3Size;
extern const std::size_t EmbeddedShopPicture4Size, EmbeddedShopPicture5Size, EmbeddedShopPicture6Size, EmbeddedShopPicture7Size;
extern const unsigned char EmbeddedHeaderPlaceholder[];
extern const std::size_t EmbeddedHeaderPlaceholderSize;
extern const unsigned char EmbeddedIcon[];
extern const std::size_t EmbeddedIconSize;

namespace {

int32_t ReadInt32(const unsigned char* p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// The catalogue is made by the build, never read from a file: a damaged one is a
// broken build, which no player can mend or play through.
[[noreturn]] void BrokenBuild(const char* what)
{
    std::fprintf(stderr, "vroomzle: %s\n", what);
    std::abort();
}

// Reads the stored form: per entry width, height and the pixels, little-endian.
Catalogue Decode()
{
    if (EmbeddedDrawModesSize != CatalogueSize)
        BrokenBuild("embedded catalogue has the wrong number of draw modes");
    Catalogue catalogue;
    std::size_t at = 0;
    for (int i = 0; i < CatalogueSize; ++i) {
        if (at + 8 > EmbeddedCatalogueSize)
            BrokenBuild("embedded catalogue is cut short");
        const int32_t width = ReadInt32(EmbeddedCatalogue + at);
        const int32_t height = ReadInt32(EmbeddedCatalogue + at + 4);
        at += 8;
        const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        if (width <= 0 || height <= 0 || at + 4 * count > EmbeddedCatalogueSize)
            BrokenBuild("embedded catalogue entry is damaged");
        Picture& picture = catalogue[static_cast<std::size_t>(i)];
        picture = Picture(width, height, 0, EmbeddedDrawModes[i] ? DrawMode::Opaque : DrawMode::Blend);
        for (std::size_t k = 0; k < count; ++k)
            picture.Pixels[k] = static_cast<uint32_t>(ReadInt32(EmbeddedCatalogue + at + 4 * k));
        at += 4 * count;
    }
    if (at != EmbeddedCatalogueSize)
        BrokenBuild("embedded catalogue has trailing bytes");
    return catalogue;
}

} // namespace

const Catalogue& BuiltInCatalogue()
{
    static const Catalogue catalogue = Decode();
    return catalogue;
}

EmbeddedBytes BuiltInArtwork(Artwork which)
{
    switch (which) {
    case Artwork::PageBackground: return {EmbeddedPageBackground, EmbeddedPageBackgroundSize};
    case Artwork::ShopPreviewEmpty: return {EmbeddedShopPicture0, EmbeddedShopPicture0Size};
    case Artwork::ShopAutoPreviewEmpty: return {EmbeddedShopPicture1, EmbeddedShopPicture1Size};
    case Artwork::ShopPreviewOccupied: return {EmbeddedShopPicture2, EmbeddedShopPicture2Size};
    case Artwork::ShopAutoPreviewOccupied: return {EmbeddedShopPicture3, EmbeddedShopPicture3Size};
    case Artwork::ShopUndo: return {EmbeddedShopPicture4, EmbeddedShopPicture4Size};
    case Artwork::ShopBronzeMedal: return {EmbeddedShopPicture5, EmbeddedShopPicture5Size};
    case Artwork::ShopSilverMedal: return {EmbeddedShopPicture6, EmbeddedShopPicture6Size};
    case Artwork::ShopGoldMedal: return {EmbeddedShopPicture7, EmbeddedShopPicture7Size};
    case Artwork::HeaderPlaceholder: return {EmbeddedHeaderPlaceholder, EmbeddedHeaderPlaceholderSize};
    case Artwork::Icon: return {EmbeddedIcon, EmbeddedIconSize};
    }
    return {nullptr, 0};
}
