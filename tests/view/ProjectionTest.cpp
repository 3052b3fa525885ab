#include "view/Projection.h"

#include <gtest/gtest.h>

TEST(Projection, RectanglesOfKnownBays)
{
    EXPECT_EQ(BayRect(5, 11), StartRect);
    EXPECT_EQ(CarRect(5, 11), CarStartRect);
    EXPECT_EQ(BayRect(3, 11), (Rect{0, 320, 96, 368}));   // top-left bay of shape 6
    EXPECT_EQ(BayRect(10, 18), (Rect{672, 208, 768, 256})); // last bay of shape 1
    EXPECT_EQ(BayRect(3, 7).Left, -128);                    // negative products stay exact
    for (int32_t c = GridMinColumn; c <= GridMaxColumn; ++c)
        for (int32_t r = GridMinRow; r <= GridMaxRow; ++r) {
            const Rect bay = BayRect(c, r);
            const Rect car = CarRect(c, r);
            EXPECT_EQ(bay.Width(), 96);
            EXPECT_EQ(bay.Height(), 48);
            EXPECT_EQ(car.Width(), 74);
            EXPECT_EQ(car.Height(), 48);
            // Same vertical centre line, 4 pixels higher.
            EXPECT_EQ(car.Left + car.Right, bay.Left + bay.Right);
            EXPECT_EQ(car.Top + car.Bottom + 8, bay.Top + bay.Bottom);
            // The steps the artwork draws by.
            EXPECT_EQ(BayRect(c + 1, r).Left - bay.Left, ColumnStepX);
            EXPECT_EQ(BayRect(c + 1, r).Top - bay.Top, ColumnStepY);
            EXPECT_EQ(BayRect(c, r + 1).Left - bay.Left, RowStepX);
            EXPECT_EQ(BayRect(c, r + 1).Top - bay.Top, RowStepY);
        }
}

TEST(Projection, CentreAndFootprintMapBackToTheBay)
{
    for (int32_t c = GridMinColumn; c <= GridMaxColumn; ++c)
        for (int32_t r = GridMinRow; r <= GridMaxRow; ++r) {
            const Rect bay = BayRect(c, r);
            EXPECT_EQ(BayAt(bay.Left + 48, bay.Top + 24), (BayPos{c, r}));
            if (bay.Left < 0 || bay.Top < 0)
                continue; // truncation only agrees with the footprint inside the view
            for (int32_t v = 0; v < 48; ++v)
                for (int32_t u = 0; u < 96; ++u) {
                    const bool inside = u + 2 * v >= 64 && u + 2 * v < 128 && u - 2 * v >= -64 && u - 2 * v < 64;
                    EXPECT_EQ(BayAt(bay.Left + u, bay.Top + v) == (BayPos{c, r}), inside) << c << "," << r << " " << u << "," << v;
                    EXPECT_EQ(FootprintEdgeDistance(u, v) >= 0, inside) << u << "," << v;
                }
        }
}

TEST(Projection, FootprintEdgesBelongToTheLeftSide)
{
    EXPECT_EQ(BayAt(128, 288), (BayPos{5, 11})); // lower-left edge
    EXPECT_EQ(BayAt(127, 288), (BayPos{4, 10}));
    EXPECT_EQ(BayAt(192, 256), (BayPos{6, 11})); // top corner belongs to the neighbour
    EXPECT_EQ(BayAt(191, 256), (BayPos{5, 10}));
    // A corner of the rectangle lies outside the footprint.
    EXPECT_NE(BayAt(128, 256), (BayPos{5, 11}));
}

TEST(Projection, CornersOfTheViewAndTruncation)
{
    EXPECT_EQ(BayAt(0, 0), (BayPos{8, 0}));
    EXPECT_EQ(BayAt(767, 479), (BayPos{7, 26}));
    EXPECT_EQ(BayAt(-10, 0), (BayPos{8, 0}));   // row 0 by truncation, not -1
    EXPECT_EQ(BayAt(-63, 0), (BayPos{8, 0}));
    EXPECT_EQ(BayAt(-64, 0), (BayPos{8, -1}));
    EXPECT_EQ(BayAt(0, 600), (BayPos{0, 18}));  // 1088 - 1200 = -112 truncates to 0
    EXPECT_EQ(BayAt(0, 610), (BayPos{-1, 19}));
    // No overflow far outside the view.
    EXPECT_EQ(BayAt(INT32_MAX, 0).Row, static_cast<int32_t>(int64_t(INT32_MAX) / 64));
}
