#include "view/Compositor.h"
#include "view/LayerScene.h"
#include "view/Projection.h"

#include "view/SceneFixtures.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr uint32_t Black = Rgb(0, 0, 0);
constexpr uint32_t Grey = Rgb(193, 193, 193);

void Repaint(LayerScene& scene)
{
    scene.BeginUpdate();
    scene.EndUpdate();
    scene.Changed();
}

// Every kernel this machine has, so the scalar fallback is checked too.
class EachKernel : public ::testing::TestWithParam<ComposeKernel> {
protected:
    void SetUp() override
    {
        Previous = ActiveKernel();
        ChooseKernel(GetParam());
    }
    void TearDown() override { ChooseKernel(Previous); }
    ComposeKernel Previous{};
};

std::string KernelName(const ::testing::TestParamInfo<ComposeKernel>& info)
{
    switch (info.param) {
    case ComposeKernel::Scalar:
        return "Scalar";
    case ComposeKernel::Avx2:
        return "Avx2";
    case ComposeKernel::Avx512:
        return "Avx512";
    }
    return "Unknown";
}

} // namespace

TEST(LayerSceneBackground, EmptySmallerAndLargerBackgrounds)
{
    LayerScene scene(768, 480, Black);
    Repaint(scene);
    for (uint32_t p : scene.Frame().Pixels)
        ASSERT_EQ(p, Black);

    // Smaller: drawn from the top-left corner at its own size, view colour around it.
    Picture small(10, 5, Argb(0, 10, 20, 30)); // alpha is ignored for the background
    scene.LoadBackground(small);
    Repaint(scene);
    EXPECT_EQ(scene.Frame().At(0, 0), Rgb(10, 20, 30));
    EXPECT_EQ(scene.Frame().At(9, 4), Rgb(10, 20, 30));
    EXPECT_EQ(scene.Frame().At(10, 4), Black);
    EXPECT_EQ(scene.Frame().At(9, 5), Black);
    EXPECT_EQ(scene.Frame().At(767, 479), Black);
    EXPECT_EQ(scene.Background().At(0, 0), Argb(0, 10, 20, 30)); // the picture itself keeps its alpha

    // Larger: clipped to the view.
    const Picture large = fixture::PatternBackground(800, 500);
    scene.LoadBackground(large);
    Repaint(scene);
    for (int32_t y : {0, 250, 479})
        for (int32_t x : {0, 400, 767})
            EXPECT_EQ(scene.Frame().At(x, y), large.At(x, y));

    scene.SetUpBackground(Rgb(1, 2, 3));
    EXPECT_EQ(scene.Background().Width, 768);
    EXPECT_EQ(scene.Background().Height, 480);
    Repaint(scene);
    EXPECT_EQ(scene.Frame().At(767, 479), Rgb(1, 2, 3));
}

TEST(LayerSceneLayers, BlendOpaqueHiddenAndClipped)
{
    const Catalogue pictures = fixture::SyntheticCatalogue();
    LayerScene scene(200, 100, Black);
    scene.SetUpBackground(Rgb(0, 0, 255));
    const int car = scene.AddLayer();
    const int panel = scene.AddLayer();
    const int hidden = scene.AddLayer();
    scene.SetPicture(car, pictures[5]);
    scene.SetLocation(car, Rect{10, 10, 84, 58});
    scene.SetVisible(car, true);
    scene.SetPicture(panel, pictures[PlaceholderPicture]);
    scene.SetLocation(panel, Rect{150, 70, 224, 118}); // runs off the right and bottom
    scene.SetVisible(panel, true);
    scene.SetPicture(hidden, pictures[83]);
    scene.SetLocation(hidden, Rect{0, 0, 96, 48});
    EXPECT_EQ(scene.Layer(panel).Mode, DrawMode::Opaque);
    EXPECT_EQ(scene.Layer(car).Mode, DrawMode::Blend);
    Repaint(scene);

    const Picture& f = scene.Frame();
    const Picture& carPicture = pictures[5];
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 74; ++x) {
            const uint32_t src = carPicture.At(x, y);
            EXPECT_EQ(f.At(10 + x, 10 + y), (src >> 24) == 255 ? src : Rgb(0, 0, 255));
        }
    for (int32_t y = 70; y < 100; ++y)
        for (int32_t x = 150; x < 200; ++x)
            EXPECT_EQ(f.At(x, y), pictures[PlaceholderPicture].At(x - 150, y - 70));
    EXPECT_EQ(f.At(0, 0), Rgb(0, 0, 255)); // the hidden tile is not drawn

    // Off the left and top edge.
    scene.SetLocation(car, Rect{-30, -20, 44, 28});
    Repaint(scene);
    for (int32_t y = 0; y < 28; ++y)
        for (int32_t x = 0; x < 44; ++x) {
            const uint32_t src = carPicture.At(x + 30, y + 20);
            ASSERT_EQ(f.At(x, y), (src >> 24) == 255 ? src : Rgb(0, 0, 255));
        }
}

TEST(LayerSceneLayers, OpaqueModeCopiesEvenTransparentPixelsAndBlendMixesPartialAlpha)
{
    LayerScene scene(4, 1, Black);
    scene.SetUpBackground(Rgb(100, 100, 100));
    Picture opaque(2, 1, Argb(0, 9, 8, 7), DrawMode::Opaque);
    Picture soft(2, 1, Argb(128, 200, 0, 50));
    soft.At(1, 0) = Argb(0, 1, 1, 1);
    scene.AddLayer();
    scene.AddLayer();
    scene.SetPicture(0, opaque);
    scene.SetLocation(0, Rect{0, 0, 2, 1});
    scene.SetVisible(0, true);
    scene.SetPicture(1, soft);
    scene.SetLocation(1, Rect{2, 0, 4, 1});
    scene.SetVisible(1, true);
    Repaint(scene);
    EXPECT_EQ(scene.Frame().At(0, 0), Rgb(9, 8, 7));
    EXPECT_EQ(scene.Frame().At(2, 0), Rgb(150, 50, 75));
    EXPECT_EQ(scene.Frame().At(3, 0), Rgb(100, 100, 100));
}

TEST(LayerSceneLayers, MarkerSqueezedIntoACarRectangle)
{
    const Catalogue pictures = fixture::SyntheticCatalogue();
    LayerScene scene(74, 48, Black);
    scene.AddLayer();
    scene.SetPicture(0, pictures[MarkerPicture]);
    scene.SetLocation(0, Rect{0, 0, 74, 48});
    scene.SetVisible(0, true);
    Repaint(scene);
    const Picture& marker = pictures[MarkerPicture];
    int drawn = 0;
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 74; ++x) {
            const uint32_t src = marker.At(x * 96 / 74, y);
            EXPECT_EQ(scene.Frame().At(x, y), (src >> 24) == 255 ? src : Black);
            drawn += scene.Frame().At(x, y) != Black;
        }
    // Both ends of the frame survive the squeeze.
    EXPECT_NE(scene.Frame().At(1, 32), Black);
    EXPECT_NE(scene.Frame().At(72, 16), Black);
    EXPECT_GT(drawn, 500);
}

TEST(LayerSceneLayers, PreviewGreyShowsThroughACar)
{
    const Catalogue pictures = fixture::SyntheticCatalogue();
    LayerScene preview(74, 48, Grey);
    preview.AddLayer();
    preview.SetPicture(0, pictures[PlaceholderPicture]);
    preview.SetLocation(0, Rect{0, 0, 74, 48});
    preview.SetVisible(0, true);
    Repaint(preview);
    for (uint32_t p : preview.Frame().Pixels)
        ASSERT_NE(p, Grey);
    preview.SetPicture(0, pictures[17]);
    Repaint(preview);
    EXPECT_EQ(preview.Frame().At(0, 0), Grey);
    EXPECT_EQ(preview.Frame().At(37, 24), pictures[17].At(37, 24));
}

TEST(LayerSceneBrackets, OneRepaintPerClosedBracket)
{
    const Catalogue pictures = fixture::SyntheticCatalogue();
    LayerScene scene(100, 60, Black);
    int repaints = 0;
    scene.SetRepaintCallback([&](const std::vector<Rect>&) { ++repaints; });
    scene.AddLayer();
    scene.SetPicture(0, pictures[3]);

    scene.BeginUpdate();
    scene.BeginUpdate();
    scene.SetLocation(0, Rect{0, 0, 74, 48});
    scene.SetVisible(0, true);
    scene.Changed();
    EXPECT_EQ(repaints, 0);
    scene.EndUpdate();
    scene.Changed();
    EXPECT_EQ(repaints, 0);
    EXPECT_EQ(scene.Frame().At(37, 24), Black); // nothing half-finished shows
    EXPECT_EQ(scene.UpdateCount(), 1);
    scene.EndUpdate();
    scene.Changed();
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(scene.Frame().At(37, 24), pictures[3].At(37, 24));
    EXPECT_EQ(scene.UpdateCount(), 0);
}

#ifdef NDEBUG
TEST(LayerSceneBrackets, UnmatchedEndUpdateNeverGoesNegative)
{
    LayerScene scene(10, 10, Black);
    int repaints = 0;
    scene.SetRepaintCallback([&](const std::vector<Rect>&) { ++repaints; });
    scene.EndUpdate();
    EXPECT_EQ(scene.UpdateCount(), 0);
    scene.Changed();
    EXPECT_EQ(repaints, 1);
}
#endif

TEST_P(EachKernel, DamageTrackedComposeEqualsFullCompose)
{
    const Catalogue pictures = fixture::SyntheticCatalogue();
    Picture soft(20, 10, Argb(100, 255, 0, 0)); // partial alpha takes the plain path
    Picture odd(37, 5, fixture::Transparent);   // widths off the 16-pixel grid
    for (int32_t x = 0; x < 37; x += 2)
        odd.At(x, 2) = Rgb(5, 5, 5);
    const Picture back = fixture::PatternBackground(700, 500);
    const Picture smallBack = fixture::PatternBackground(300, 200);

    std::mt19937 random(12345);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
    auto anyPicture = [&]() -> const Picture& {
        const int pick = below(100);
        if (pick < 90)
            return pictures[static_cast<size_t>(pick)];
        return pick < 95 ? soft : odd;
    };

    LayerScene scene(768, 480, Black);
    for (int i = 0; i < 146; ++i) {
        scene.AddLayer();
        scene.SetPicture(i, anyPicture());
        const int32_t x = below(800) - 40, y = below(520) - 40;
        scene.SetLocation(i, Rect{x, y, x + scene.Layer(i).Image->Width, y + scene.Layer(i).Image->Height});
        scene.SetVisible(i, below(2) == 0);
    }
    scene.LoadBackground(back);
    Repaint(scene);

    // The screen as a widget keeps it: only the rectangles each repaint hands
    // over are copied from the new frame. It must always equal the frame.
    Picture screen = scene.Frame();
    scene.SetRepaintCallback([&](const std::vector<Rect>& changed) {
        for (const Rect& r : changed) {
            ASSERT_FALSE(IsEmpty(r));
            ASSERT_EQ(Intersect(r, Rect{0, 0, 768, 480}), r) << "a rectangle past the view";
            for (int32_t y = r.Top; y < r.Bottom; ++y)
                for (int32_t x = r.Left; x < r.Right; ++x)
                    screen.At(x, y) = scene.Frame().At(x, y);
        }
    });

    Picture reference;
    for (int step = 0; step < 600; ++step) {
        scene.BeginUpdate();
        const int changes = 1 + below(step % 50 == 0 ? 60 : 4);
        for (int c = 0; c < changes; ++c) {
            const int i = below(146);
            switch (below(10)) {
            case 0:
            case 1:
                scene.SetPicture(i, anyPicture());
                break;
            case 2:
            case 3:
            case 4: {
                const Picture& p = *scene.Layer(i).Image;
                const int32_t x = below(840) - 60, y = below(560) - 60;
                // Mostly at the picture's size, sometimes squeezed or stretched.
                const int32_t w = below(8) == 0 ? 1 + below(120) : p.Width;
                const int32_t h = below(8) == 0 ? 1 + below(80) : p.Height;
                scene.SetLocation(i, Rect{x, y, x + w, y + h});
                break;
            }
            case 5:
                scene.SetLocation(i, BayRect(3 + below(8), 7 + below(14)));
                break;
            case 6:
                if (below(20) == 0)
                    scene.LoadBackground(below(2) ? back : smallBack);
                else if (below(30) == 0)
                    scene.SetUpBackground(Black);
                break;
            default:
                scene.SetVisible(i, !scene.Layer(i).Visible);
            }
        }
        scene.EndUpdate();
        scene.Changed();
        scene.ComposeFull(reference);
        ASSERT_EQ(scene.Frame().Pixels, reference.Pixels) << "after step " << step;
        ASSERT_EQ(screen.Pixels, reference.Pixels) << "a changed pixel outside the repainted rectangles, step " << step;
    }
}

TEST_P(EachKernel, ChunksThatWouldReachPastTheRightEdgeStayInside)
{
    // A thin diagonal: each row's packed chunk runs well past its one drawn
    // pixel, and at the right of a narrow frame past the end of the row.
    Picture slash(24, 24, fixture::Transparent);
    for (int32_t y = 0; y < 24; ++y)
        slash.At(23 - y, y) = Rgb(10, uint32_t(y), 200);
    const Picture back = fixture::PatternBackground(40, 30);
    for (int32_t left = 0; left <= 16; ++left) {
        LayerScene scene(40, 30, Black);
        scene.LoadBackground(back);
        scene.AddLayer();
        scene.SetPicture(0, slash);
        scene.SetLocation(0, Rect{left, 6, left + 24, 30}); // down to the frame's last row
        scene.SetVisible(0, true);
        Repaint(scene);
        Picture reference;
        scene.ComposeFull(reference);
        ASSERT_EQ(scene.Frame().Pixels, reference.Pixels) << "at left " << left;
    }
}

// Source over an opaque destination, one channel, as the exact rational
// s·a/255 + d·(255 − a)/255 rounded to the nearest integer (never a tie: 255 is odd).
uint32_t ExactOver(uint32_t s, uint32_t d, uint32_t a)
{
    const uint32_t n = s * a + d * (255 - a);
    return n / 255 + (n % 255 * 2 > 255 ? 1 : 0);
}

// Every (source, destination, alpha) of 256 × 256 × 256 through the scene: one
// layer per alpha (a row 256 wide, source x + 85·c in channel c), over a
// background that holds destination 3·f + c in channel c in frame f, so the
// three channels of 86 frames reach every destination. Alpha 0 and 255 give
// all-or-nothing pictures, which the kernel draws; the rest take the plain path.
TEST_P(EachKernel, BlendIsTheExactSourceOverForEverySourceDestinationAndAlpha)
{
    auto channel = [](uint32_t pixel, int c) { return (pixel >> (8 * c)) & 0xFF; };
    std::vector<Picture> rows;
    for (uint32_t a = 0; a < 256; ++a) {
        Picture row(256, 1);
        for (uint32_t x = 0; x < 256; ++x)
            row.At(int32_t(x), 0) = Argb(a, (x + 170) & 0xFF, (x + 85) & 0xFF, x);
        rows.push_back(std::move(row));
    }
    LayerScene scene(256, 256, Black);
    for (int32_t a = 0; a < 256; ++a) {
        scene.AddLayer();
        scene.SetPicture(a, rows[size_t(a)]);
        scene.SetLocation(a, Rect{0, a, 256, a + 1});
        scene.SetVisible(a, true);
    }
    long wrong = 0;
    std::string first;
    for (uint32_t f = 0; f < 86; ++f) {
        const uint32_t back = Rgb((3 * f + 2) & 0xFF, (3 * f + 1) & 0xFF, (3 * f) & 0xFF);
        scene.BeginUpdate();
        scene.SetUpBackground(back);
        scene.EndUpdate();
        scene.Changed();
        const Picture& frame = scene.Frame();
        for (uint32_t a = 0; a < 256; ++a)
            for (uint32_t x = 0; x < 256; ++x) {
                const uint32_t got = frame.At(int32_t(x), int32_t(a)), source = rows[a].At(int32_t(x), 0);
                bool bad = got >> 24 != 255;
                for (int c = 0; c < 3; ++c)
                    bad |= channel(got, c) != ExactOver(channel(source, c), channel(back, c), a);
                if (bad && wrong++ == 0) {
                    std::ostringstream out;
                    out << "alpha " << a << ", source 0x" << std::hex << std::setfill('0') << std::setw(8) << source
                        << " over 0x" << std::setw(8) << back << " gives 0x" << std::setw(8) << got << std::dec;
                    for (int c = 2; c >= 0; --c) {
                        const uint32_t s = channel(source, c), d = channel(back, c);
                        out << "; " << "bgr"[c] << ": source " << s << " over " << d << " gives " << channel(got, c)
                            << ", the formula " << ExactOver(s, d, a);
                    }
                    first = out.str();
                }
            }
    }
    EXPECT_EQ(wrong, 0) << "pixels off the exact source over; the first: " << first;
}

INSTANTIATE_TEST_SUITE_P(Kernels, EachKernel, ::testing::ValuesIn(AvailableKernels()), KernelName);

TEST(Compositor, PreparedRunsAndMasksFollowAlpha)
{
    Picture p(20, 2, fixture::Transparent);
    for (int32_t x = 3; x < 18; ++x)
        p.At(x, 0) = Rgb(1, 2, 3);
    p.At(0, 1) = Rgb(4, 5, 6);
    const PreparedPicture prepared = PreparePicture(p);
    EXPECT_TRUE(prepared.AllOrNothing);
    EXPECT_EQ(prepared.Stride, 32);
    ASSERT_EQ(prepared.RowRuns, (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_EQ(prepared.Runs[0].Start, 3);
    EXPECT_EQ(prepared.Runs[0].Length, 15);
    // Packed rows start at their first drawn pixel: row 0 holds x = 3 … 18 in one
    // chunk (lanes 0 … 14 drawn), row 1 only x = 0 … 15 with lane 0 drawn.
    ASSERT_EQ(prepared.PackedRows.size(), 3u);
    EXPECT_EQ(prepared.PackedRows[0].Start, 3);
    EXPECT_EQ(prepared.PackedRows[1].Start, 0);
    ASSERT_EQ(prepared.PackedMasks, (std::vector<uint16_t>{0x7FFF, 0x0001}));
    EXPECT_EQ(prepared.Packed[15], 0u) << "x = 18 is not drawn and stays zero";
    EXPECT_EQ(prepared.Pixels[1], 0u); // skipped pixels stay zero, never read as colour
}
