// The window's fixed design that its handlers use as well as its layout.
#include "app/WindowDesign.h"

#include "view/PageLayout.h"
#include "view/PictureFiles.h"

#include <QLabel>
#include <QWidget>

#include <algorithm>
#include <cassert>

// The header shows the two PREVIEW items before the two AUTO-PREVIEW ones; the
// STAGES page lists the previews on the left and undo and the medals on the right.
const ShopPlace ShopPlaces[ShopItemCount] = {
    {ShopItem::Undo, 2, 268, ShopRightColumn, ShopTop(0), 11, 5, 616, 148, 15, 460, 116, Artwork::ShopUndo},
    {ShopItem::PreviewEmpty, 3, 296, ShopLeftColumn, ShopTop(0), 23, 1, 276, 148, 11, 116, 116, Artwork::ShopPreviewEmpty},
    {ShopItem::AutoPreviewEmpty, 5, 352, ShopLeftColumn, ShopTop(1), 26, 2, 276, 220, 12, 116, 188,
     Artwork::ShopAutoPreviewEmpty},
    {ShopItem::PreviewOccupied, 4, 324, ShopLeftColumn, ShopTop(2), 29, 3, 276, 292, 13, 116, 260,
     Artwork::ShopPreviewOccupied},
    {ShopItem::AutoPreviewOccupied, 6, 380, ShopLeftColumn, ShopTop(3), 32, 4, 276, 364, 14, 116, 332,
     Artwork::ShopAutoPreviewOccupied},
    {ShopItem::BronzeMedal, 7, 432, ShopRightColumn, ShopTop(1), 14, 6, 616, 216, 18, 460, 188, Artwork::ShopBronzeMedal},
    {ShopItem::SilverMedal, 8, 460, ShopRightColumn, ShopTop(2), 17, 7, 616, 288, 16, 460, 260, Artwork::ShopSilverMedal},
    {ShopItem::GoldMedal, 9, 488, ShopRightColumn, ShopTop(3), 20, 8, 616, 360, 17, 460, 332, Artwork::ShopGoldMedal},
};

const ShopPlace& PlaceOf(ShopItem item)
{
    assert(static_cast<int>(item) >= 1 && static_cast<int>(item) <= ShopItemCount);
    return ShopPlaces[std::clamp(static_cast<int>(item), 1, ShopItemCount) - 1];
}

ShopItem ItemOfColorButton(int button)
{
    assert(button >= 1 && button <= ShopItemCount);
    for (const ShopPlace& place : ShopPlaces)
        if (place.Button == button)
            return place.Item;
    return ShopItem::Undo;
}

Picture BuiltInPicture(Artwork which)
{
    const EmbeddedBytes bytes = BuiltInArtwork(which);
    // Built into the program: it cannot fail to decode but in a broken build.
    return ReadJpegBytes(bytes.Data, bytes.Size).Image;
}

void SetTextColour(QWidget* widget, const QColor& colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, colour);
    widget->setPalette(pal);
}

void SetAutoSizedText(QLabel* label, const std::string& text)
{
    label->setText(QString::fromStdString(text));
    label->adjustSize();
}
