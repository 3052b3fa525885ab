// Cars a player tells apart at a glance, for common and colour-blind vision.
//
// Two measures, each over every pair of the 82 cars:
// - the glance distance: each car laid on asphalt and shrunk to a quarter
//   (18 × 12, the mean of every 4 × 4 block in sRGB), then the mean CIE76 ΔE of
//   the 216 pixels. It sees what a player scanning the board sees: colour, shape
//   and the big markings, not the small details.
// - the share of the 74 × 48 pixels where one car is opaque and the other is
//   not, or where both are and their colours lie more than 80 apart (RGB).
// Colour blindness is simulated in linear RGB before either measure.
#include "view/ImageCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int Cars = 82;
constexpr int Pairs = Cars * (Cars - 1) / 2;

struct Rgb3 {
    double R, G, B;
};

struct Lab {
    double L, A, B;
};

using Matrix = std::array<std::array<double, 3>, 3>;

struct Vision {
    const char* Name;
    Matrix Simulation; // in linear RGB
};

constexpr Matrix Identity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
// Machado, Oliveira and Fernandes (2009), severity 1.
constexpr Matrix Deuteranopia = {{{0.367322, 0.860646, -0.227968},
                                  {0.280085, 0.672501, 0.047413},
                                  {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix Protanopia = {{{0.152286, 1.052583, -0.204868},
                                {0.114503, 0.786281, 0.099216},
                                {-0.003882, -0.048116, 1.051998}}};

const Vision Visions[] = {{"common vision", Identity}, {"deuteranopia", Deuteranopia}, {"protanopia", Protanopia}};

constexpr Rgb3 Asphalt{80, 80, 84};

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

Rgb3 Colour(uint32_t p)
{
    return {static_cast<double>((p >> 16) & 255), static_cast<double>((p >> 8) & 255), static_cast<double>(p & 255)};
}

Rgb3 Seen(const Vision& v, Rgb3 c)
{
    const double lin[3] = {ToLinear(c.R), ToLinear(c.G), ToLinear(c.B)};
    double out[3];
    for (int i = 0; i < 3; ++i)
        out[i] = ToSrgb(v.Simulation[i][0] * lin[0] + v.Simulation[i][1] * lin[1] + v.Simulation[i][2] * lin[2]);
    return {out[0], out[1], out[2]};
}

// sRGB to CIELAB under D65.
Lab ToLab(Rgb3 c)
{
    const double r = ToLinear(c.R), g = ToLinear(c.G), b = ToLinear(c.B);
    const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
    auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double DeltaE(const Lab& a, const Lab& b) { return std::hypot(a.L - b.L, a.A - b.A, a.B - b.B); }

constexpr int GlanceW = 18, GlanceH = 12;
using Glance = std::array<Lab, GlanceW * GlanceH>;

// A car as one kind of vision sees it: every pixel laid on asphalt, and the
// quarter-size picture of that.
struct SeenCar {
    std::vector<bool> Opaque;
    std::vector<Rgb3> Pixels;
    Glance Small;
};

SeenCar See(const Picture& car, const Vision& v)
{
    SeenCar seen;
    for (uint32_t p : car.Pixels) {
        seen.Opaque.push_back(p >> 24 == 255);
        seen.Pixels.push_back(Seen(v, p >> 24 == 255 ? Colour(p) : Asphalt));
    }
    for (int by = 0; by < GlanceH; ++by)
        for (int bx = 0; bx < GlanceW; ++bx) {
            Rgb3 sum{0, 0, 0};
            for (int y = by * 4; y < by * 4 + 4; ++y)
                for (int x = bx * 4; x < bx * 4 + 4; ++x) {
                    const Rgb3 c = seen.Pixels[static_cast<size_t>(y * car.Width + x)];
                    sum = {sum.R + c.R, sum.G + c.G, sum.B + c.B};
                }
            seen.Small[static_cast<size_t>(by * GlanceW + bx)] = ToLab({sum.R / 16, sum.G / 16, sum.B / 16});
        }
    return seen;
}

double GlanceDistance(const Glance& a, const Glance& b)
{
    double sum = 0;
    for (size_t k = 0; k < a.size(); ++k)
        sum += DeltaE(a[k], b[k]);
    return sum / static_cast<double>(a.size());
}

double Share(const SeenCar& a, const SeenCar& b)
{
    int differ = 0;
    for (size_t k = 0; k < a.Pixels.size(); ++k) {
        if (a.Opaque[k] != b.Opaque[k]) {
            ++differ;
        } else if (a.Opaque[k]) {
            const Rgb3 ca = a.Pixels[k], cb = b.Pixels[k];
            differ += std::hypot(ca.R - cb.R, ca.G - cb.G, ca.B - cb.B) > 80;
        }
    }
    return static_cast<double>(differ) / static_cast<double>(a.Pixels.size());
}

struct PairScore {
    int A, B;
    double Glance, Share;
};

std::vector<PairScore> ScoreEveryPair(const Vision& v)
{
    const Catalogue& c = BuiltInCatalogue();
    std::vector<SeenCar> cars;
    for (int i = 1; i <= Cars; ++i)
        cars.push_back(See(c[i], v));
    std::vector<PairScore> scores;
    for (size_t i = 0; i < cars.size(); ++i)
        for (size_t j = i + 1; j < cars.size(); ++j)
            scores.push_back({static_cast<int>(i + 1), static_cast<int>(j + 1), GlanceDistance(cars[i].Small, cars[j].Small),
                              Share(cars[i], cars[j])});
    std::sort(scores.begin(), scores.end(), [](const PairScore& a, const PairScore& b) { return a.Glance < b.Glance; });
    return scores;
}

} // namespace

TEST(Distinct, MeasuresAgreeWithKnownColours)
{
    const Lab white = ToLab({255, 255, 255}), red = ToLab({255, 0, 0});
    EXPECT_NEAR(white.L, 100, 0.01);
    EXPECT_NEAR(white.A, 0, 0.01);
    EXPECT_NEAR(white.B, 0, 0.01);
    EXPECT_NEAR(red.L, 53.24, 0.02);
    EXPECT_NEAR(red.A, 80.09, 0.02);
    EXPECT_NEAR(red.B, 67.20, 0.02);
    const auto dist = [](Rgb3 a, Rgb3 b) { return std::hypot(a.R - b.R, a.G - b.G, a.B - b.B); };
    for (const Vision& v : {Visions[1], Visions[2]}) {
        // Grey stays grey; pure red and pure green come out as two yellowish
        // browns, far closer than before, and blue keeps apart from yellow.
        const Rgb3 grey = Seen(v, {128, 128, 128});
        EXPECT_NEAR(grey.R, 128, 1.5) << v.Name;
        EXPECT_NEAR(grey.G, 128, 1.5) << v.Name;
        EXPECT_NEAR(grey.B, 128, 1.5) << v.Name;
        EXPECT_LT(dist(Seen(v, {255, 0, 0}), Seen(v, {0, 255, 0})), 0.6 * dist({255, 0, 0}, {0, 255, 0})) << v.Name;
        EXPECT_GT(dist(Seen(v, {0, 0, 255}), Seen(v, {255, 255, 0})), 300) << v.Name;
    }
}

// Common vision: every pair at least 10 apart at a glance and differing in a
// tenth of its pixels. Colour-blind vision: at most 1% of the pairs under 8 at
// a glance, and at most a tenth under 5% of the pixels.
TEST(Distinct, EveryPairOfCarsDiffersAtAGlance)
{
    for (const Vision& v : Visions) {
        const bool common = &v == &Visions[0];
        const std::vector<PairScore> scores = ScoreEveryPair(v);
        const long underEight =
            std::count_if(scores.begin(), scores.end(), [](const PairScore& s) { return s.Glance < 8; });
        const long underTen =
            std::count_if(scores.begin(), scores.end(), [](const PairScore& s) { return s.Glance < 10; });
        const long fewPixels =
            std::count_if(scores.begin(), scores.end(), [](const PairScore& s) { return s.Share < 0.05; });
        std::printf("%s: closest pairs", v.Name);
        for (size_t k = 0; k < 6; ++k)
            std::printf(" %d/%d %.1f", scores[k].A, scores[k].B, scores[k].Glance);
        std::printf("; %ld pairs under 8, %ld under 10; %ld pairs differ in under 5%% of the pixels\n", underEight,
                    underTen, fewPixels);
        if (common) {
            for (const PairScore& s : scores) {
                EXPECT_GE(s.Glance, 10) << "cars " << s.A << " and " << s.B << " look alike at a glance";
                EXPECT_GE(s.Share, 0.10) << "cars " << s.A << " and " << s.B << " share most pixels";
            }
        } else {
            EXPECT_LE(underEight, Pairs / 100) << v.Name;
            EXPECT_LE(fewPixels, Pairs / 10) << v.Name;
        }
    }
}
