// The places of the MENU and SHOP pages are the game's fixed design; the window
// test holds the widgets to these constants, this one the constants to the design.
#include "view/PageLayout.h"

#include <gtest/gtest.h>


namespace {

struct Designed {
    const char* Widget;
    PageRect Place;
    int Left, Top, Width, Height;
};

} // namespace

TEST(PageLayout, HoldsTheDesignedPlaces)
{
    const Designed cases[] = {
        {"JPEGImage1, JPEGImage10", PageBackgroundPlace, 8, 0, 769, 481},
        {"Shape1", MenuFrame, 172, 48, 461, 373},
        {"Shape2", ButtonFrame, 208, 212, 389, 201},
        {"SpinEdit2", SpinEdit2Place, 548, 60, 41, 24},
        {"SpinEdit3", SpinEdit3Place, 548, 84, 41, 24},
        {"SpeedButton1", FlatButtonPlace(0), 216, 220, 373, 41},
        {"SpeedButton2", FlatButtonPlace(1), 216, 268, 373, 41},
        {"SpeedButton3", FlatButtonPlace(2), 216, 316, 373, 41},
        {"SpeedButton4", FlatButtonPlace(3), 216, 364, 373, 41},
        {"Label8", CreditLine, 240, 444, 327, 18},
        {"Label9", ForumLine, 276, 464, 256, 14},
        {"fcLabel2", ShopTitle, 301, 20, 161, 72},
    };
    for (const Designed& c : cases) {
        EXPECT_EQ(c.Place.Left, c.Left) << c.Widget;
        EXPECT_EQ(c.Place.Top, c.Top) << c.Widget;
        EXPECT_EQ(c.Place.Width, c.Width) << c.Widget;
        EXPECT_EQ(c.Place.Height, c.Height) << c.Widget;
    }
    // Label2 … Label7 at left 216, tops 60 … 180.
    const int modeTops[] = {60, 84, 108, 132, 156, 180};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(ModeLabelTop + ModeLabelStep * i, modeTops[i]) << "Label" << i + 2;
    EXPECT_EQ(ModeLabelLeft, 216);
    // The shop's text columns at 156 and 496, items from 124 every 72 pixels, three lines 16 apart.
    EXPECT_EQ(ShopLeftColumn, 156);
    EXPECT_EQ(ShopRightColumn, 496);
    const int itemTops[] = {124, 196, 268, 340};
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(ShopTop(k), itemTops[k]) << "item " << k;
    EXPECT_EQ(ShopLineStep, 16);
    EXPECT_EQ(ItemPictureWidth, 25);
    EXPECT_EQ(ItemPictureHeight, 64);
}
