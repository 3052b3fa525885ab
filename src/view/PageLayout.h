#pragma once
// Where the MENU and SHOP pages put what they show, in page pixels. The window
// lays its widgets out by these, and artgen darkens the page background behind
// the texts by them, so that a text moved here keeps its dark ground. No Qt.

struct PageRect {
    int Left, Top, Width, Height;
    constexpr int Right() const { return Left + Width; }
    constexpr int Bottom() const { return Top + Height; }
};

// The smallest rectangle holding both.
constexpr PageRect Union(const PageRect& a, const PageRect& b)
{
    const int left = a.Left < b.Left ? a.Left : b.Left;
    const int top = a.Top < b.Top ? a.Top : b.Top;
    const int right = a.Right() > b.Right() ? a.Right() : b.Right();
    const int bottom = a.Bottom() > b.Bottom() ? a.Bottom() : b.Bottom();
    return {left, top, right - left, bottom - top};
}

// JPEGImage1 and JPEGImage10: the page background, 8 pixels into its page.
constexpr PageRect PageBackgroundPlace{8, 0, 769, 481};

// The pictures of the shop items: in the header's slots and beside their texts
// on the SHOP page.
constexpr int ItemPictureWidth = 25;
constexpr int ItemPictureHeight = 64;

// The MENU page.
constexpr PageRect MenuFrame{172, 48, 461, 373};   // Shape1
constexpr PageRect ButtonFrame{208, 212, 389, 201}; // Shape2
// Label2 … Label7, one below the other; the area is as wide as the longest caption.
constexpr int ModeLabelLeft = 216;
constexpr int ModeLabelTop = 60;
constexpr int ModeLabelStep = 24;
constexpr PageRect ModeLabelArea{ModeLabelLeft, ModeLabelTop, 332, 6 * ModeLabelStep};
constexpr PageRect SpinEdit2Place{548, 60, 41, 24};
constexpr PageRect SpinEdit3Place{548, 84, 41, 24};
// SpeedButton1 … 4 (START, Load Profile, Save Profile, SAVE & EXIT), i = 0 … 3.
constexpr PageRect FlatButtonPlace(int i) { return {216, 220 + 48 * i, 373, 41}; }
constexpr PageRect CreditLine{240, 444, 327, 18}; // Label8
constexpr PageRect ForumLine{276, 464, 256, 14};  // Label9

// The SHOP page: its title, and the three text lines of each item, which start
// at these corners and run 16 pixels apart (the buttons and pictures beside them
// are opaque and need no ground).
constexpr PageRect ShopTitle{301, 20, 161, 72}; // fcLabel2
constexpr int ShopLeftColumn = 156;
constexpr int ShopRightColumn = 496;
constexpr int ShopFirstTop = 124;
constexpr int ShopItemStep = 72;
constexpr int ShopLineStep = 16;
// The name line of the k-th item of a column, k = 0 … 3.
constexpr int ShopTop(int k) { return ShopFirstTop + ShopItemStep * k; }
// All item texts of both columns: four items each, the price line 20 pixels
// high, the widest line of the right column no wider than 160.
constexpr PageRect ShopTextArea{ShopLeftColumn, ShopFirstTop, ShopRightColumn + 160 - ShopLeftColumn,
                                3 * ShopItemStep + 2 * ShopLineStep + 20};
