#pragma once
#include "view/PageLayout.h"

#include <QImage>

constexpr int ItemWidth = ItemPictureWidth;
constexpr int ItemHeight = ItemPictureHeight;
constexpr int ShopPictureCount = 8;

// Shop pictures in the order of the built-in artwork list: preview under empty
// bays, auto-preview under empty bays, preview under occupied bays, auto-preview
// under occupied bays, undo, bronze, silver and gold medal.
QImage ShopPicture(int item);
// tiles/N.jpg: 0 is the slot of an item not owned, 1 … 8 the owned items
// (undo, the four previews as they stand on the shop page, the three medals).
QImage HeaderItemPicture(int n);
QImage HeaderPlaceholderPicture();
// The game's icon drawn for one size: the window's at 64, the desktop theme's at
// each of IconSizes.
QImage IconPicture(int size);
constexpr int IconSizes[] = {16, 24, 32, 48, 64, 128, 256};
// All item pictures side by side, enlarged, for review.
QImage ItemSheet();
