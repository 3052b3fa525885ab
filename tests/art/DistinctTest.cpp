// Cars a player tells apart at a glance. For two car pictures, the share of
// the 74 × 48 pixels where one is opaque and the other is not, or where both
// are opaque and their colours lie more than 80 apart (RGB distance).
#include "view/ImageCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct Rgb3 {
    double R, G, B;
};

Rgb3 Colour(uint32_t p) { return {static_cast<double>((p >> 16) & 255), static_cast<double>((p >> 8) & 255), static_cast<double>(p & 255)}; }

double ToLinear(double c)
{
    c /= 255;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double ToSrgb(double c)
{
    c = std::clamp(c, 0.0, 1.0);
    return 255 * (c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055);
}

// Machado, Oliveira and Fernandes (2009), deuteranopia at severity 1, applied to linear RGB.
Rgb3 Deuteranopia(Rgb3 c)
{
    const double r = ToLinear(c.R), g = ToLinear(c.G), b = ToLinear(c.B);
    return {ToSrgb(0.367322 * r + 0.860646 * g - 0.227968 * b), ToSrgb(0.280085 * r + 0.672501 * g + 0.047413 * b),
            ToSrgb(-0.011820 * r + 0.042940 * g + 0.968881 * b)};
}

double Share(const Picture& a, const Picture& b, bool deuteranopia)
{
    int differ = 0;
    for (size_t k = 0; k < a.Pixels.size(); ++k) {
        const bool oa = a.Pixels[k] >> 24 == 255, ob = b.Pixels[k] >> 24 == 255;
        if (oa != ob) {
            ++differ;
        } else if (oa) {
            Rgb3 ca = Colour(a.Pixels[k]), cb = Colour(b.Pixels[k]);
            if (deuteranopia)
                ca = Deuteranopia(ca), cb = Deuteranopia(cb);
            const double d = std::sqrt((ca.R - cb.R) * (ca.R - cb.R) + (ca.G - cb.G) * (ca.G - cb.G) + (ca.B - cb.B) * (ca.B - cb.B));
            differ += d > 80;
        }
    }
    return static_cast<double>(differ) / static_cast<double>(a.Pixels.size());
}

} // namespace

TEST(Distinct, SimulationKeepsGreyAndMovesRedTowardsGreen)
{
    const Rgb3 grey = Deuteranopia({128, 128, 128});
    EXPECT_NEAR(grey.R, 128, 1.5);
    EXPECT_NEAR(grey.G, 128, 1.5);
    EXPECT_NEAR(grey.B, 128, 1.5);
    const Rgb3 red = Deuteranopia({255, 0, 0}), green = Deuteranopia({0, 255, 0});
    // Pure red and pure green come out as two yellowish browns, closer than before.
    const auto dist = [](Rgb3 a, Rgb3 b) { return std::hypot(a.R - b.R, a.G - b.G, a.B - b.B); };
    EXPECT_LT(dist(red, green), 0.6 * dist({255, 0, 0}, {0, 255, 0}));
}

TEST(Distinct, EveryPairOfCarsDiffersAtAGlance)
{
    const Catalogue& c = BuiltInCatalogue();
    double worst = 1;
    int worstA = 0, worstB = 0, pairs = 0, weakForDeuteranopes = 0;
    double worstDeut = 1;
    for (int i = 1; i <= 82; ++i)
        for (int j = i + 1; j <= 82; ++j) {
            ++pairs;
            const double s = Share(c[i], c[j], false);
            if (s < worst)
                worst = s, worstA = i, worstB = j;
            EXPECT_GE(s, 0.10) << "cars " << i << " and " << j;
            const double d = Share(c[i], c[j], true);
            worstDeut = std::min(worstDeut, d);
            weakForDeuteranopes += d < 0.05;
        }
    std::printf("worst pair %d/%d shares %.1f%%; with deuteranopia %d of %d pairs (%.1f%%) under 5%%, worst %.1f%%\n",
                worstA, worstB, 100 * worst, weakForDeuteranopes, pairs, 100.0 * weakForDeuteranopes / pairs, 100 * worstDeut);
    EXPECT_LE(weakForDeuteranopes, pairs / 10);
}
