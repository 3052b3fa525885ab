#pragma once
#include "view/Picture.h"

#include <array>
#include <cstddef>
#include <cstdint>

constexpr int CatalogueSize = 90;
constexpr int MarkerPicture = 0;     // bay marker frame, 96 × 48
constexpr int FirstCarPicture = 1;   // cars 1 … 82, 74 × 48
constexpr int EmptyTilePicture = 83; // 83 + hidden count, 96 × 48
constexpr int PlaceholderPicture = 89; // red panel, 74 × 48, opaque

using Catalogue = std::array<Picture, CatalogueSize>;

// The 90 built-in pictures, decoded once from the bytes embedded in the program.
const Catalogue& BuiltInCatalogue();

// The built-in artwork of the window, embedded as JPEG bytes (the icon as PNG).
enum class Artwork {
    PageBackground,     // 769 × 481, MENU and STAGES pages
    ShopPreviewEmpty,   // 25 × 64 shop pictures, JPEGImage11 …
    ShopAutoPreviewEmpty,
    ShopPreviewOccupied,
    ShopAutoPreviewOccupied,
    ShopUndo,
    ShopBronzeMedal,
    ShopSilverMedal,
    ShopGoldMedal,
    HeaderPlaceholder,  // 25 × 64 red panel in the header slots until ToonItems
    Icon,               // PNG
};

struct EmbeddedBytes {
    const uint8_t* Data;
    size_t Size;
};

EmbeddedBytes BuiltInArtwork(Artwork which);
