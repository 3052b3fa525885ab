#pragma once
// The window's fixed design that its handlers use as well as its layout (the
// Build… functions of FormLayout.cpp): where each shop item shows, the colours
// and the small widget helpers. It knows nothing of the window itself.
#include "app/Profile.h"
#include "view/ImageCatalogue.h"
#include "view/Picture.h"

#include <QColor>

#include <string>

class QLabel;
class QWidget;

inline const QColor ChosenModeColour(0xFF, 0xFF, 0x00); // yellow
inline const QColor OtherModeColour(0x80, 0x80, 0x80);  // grey
inline const QColor DarkRed(0xC1, 0x00, 0x00);

// Where a shop item shows: its slot in the header, and on the STAGES page its
// three text lines, its button and its picture.
struct ShopPlace {
    ShopItem Item;
    int HeaderSlot;             // JPEGImageN
    int HeaderLeft;
    int Left, Top;              // the name line; the other two follow 16 pixels apart
    int FirstLabel;             // LabelN of the name line
    int Button;                 // ColorButtonN
    int ButtonLeft, ButtonTop;
    int Picture;                // JPEGImageN
    int PictureLeft, PictureTop;
    Artwork Art;
};

// In item order 1 … 8.
extern const ShopPlace ShopPlaces[ShopItemCount];
const ShopPlace& PlaceOf(ShopItem item);
// The item a shop button sells (ColorButton1 … 8).
ShopItem ItemOfColorButton(int button);

Picture BuiltInPicture(Artwork which);
void SetTextColour(QWidget* widget, const QColor& colour);
// A label that sizes itself to its text from a fixed top-left corner.
void SetAutoSizedText(QLabel* label, const std::string& text);
