// Cars a player tells apart at a glance, for common and colour-blind vision.
//
// Three measures, each over every pair of the 82 cars:
// - the glance distance: each car laid on asphalt and shrunk to a quarter
//   (18 × 12, the mean of every 4 × 4 block in sRGB), then the mean CIE76 ΔE of
//   the 216 pixels. It sees what a player scanning the board sees: colour, shape
//   and the big markings, not the small details.
// - the share of the 74 × 48 pixels where one car is opaque and the other is
//   not, or where both are and their colours lie more than 80 apart (RGB).
// - the first-sight distance: what a player takes in before looking closer, the
//   colours a car wears and how much of each, wherever they sit, and its
//   outline. The glance misses this: a navy saloon with a cream bonnet and a
//   navy limousine with a cream roof differ block by block, yet players took
//   one for the other. Each car's opaque pixels are ranked from dark to light
//   and read at 64 evenly spaced ranks, a pixel counting by how far it stands
//   out from the asphalt (tyres, dark trim and glass count little). The mean
//   CIEDE2000 ΔE between the two cars' ranks, rank by rank, is what it takes
//   to repaint one car's colours into the other's; CIEDE2000 because whole
//   paints are compared, where CIE76 overstates the gap between a saturated
//   colour and a paler one of the same hue (a yellow box and a cream one read
//   alike). Added to it, 50 times the share of the pixels opaque in one car
//   only, of those opaque in either: outlines that differ in a third of their
//   pixels keep two cars apart whatever their paint.
// Colour blindness is simulated in linear RGB before each measure.
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

// CIEDE2000, after Sharma, Wu and Dalal (2005).
double DeltaE2000(const Lab& x, const Lab& y)
{
    constexpr double Degree = M_PI / 180;
    const double pow25 = std::pow(25.0, 7);
    const double meanC = (std::hypot(x.A, x.B) + std::hypot(y.A, y.B)) / 2;
    const double g = 0.5 * (1 - std::sqrt(std::pow(meanC, 7) / (std::pow(meanC, 7) + pow25)));
    const double a1 = (1 + g) * x.A, a2 = (1 + g) * y.A;
    const double c1 = std::hypot(a1, x.B), c2 = std::hypot(a2, y.B);
    auto hue = [](double b, double a) {
        if (a == 0 && b == 0)
            return 0.0;
        const double h = std::atan2(b, a) / Degree;
        return h < 0 ? h + 360 : h;
    };
    const double h1 = hue(x.B, a1), h2 = hue(y.B, a2);
    double dh = 0;
    if (c1 * c2 != 0) {
        dh = h2 - h1;
        if (dh > 180)
            dh -= 360;
        else if (dh < -180)
            dh += 360;
    }
    const double dL = y.L - x.L, dC = c2 - c1, dH = 2 * std::sqrt(c1 * c2) * std::sin(dh * Degree / 2);
    const double meanL = (x.L + y.L) / 2, meanCp = (c1 + c2) / 2;
    double meanH = h1 + h2;
    if (c1 * c2 != 0)
        meanH = std::abs(h1 - h2) <= 180 ? (h1 + h2) / 2 : (h1 + h2 + (h1 + h2 < 360 ? 360 : -360)) / 2;
    const double t = 1 - 0.17 * std::cos((meanH - 30) * Degree) + 0.24 * std::cos(2 * meanH * Degree) +
                     0.32 * std::cos((3 * meanH + 6) * Degree) - 0.20 * std::cos((4 * meanH - 63) * Degree);
    const double rotation = 30 * std::exp(-std::pow((meanH - 275) / 25, 2));
    const double rc = 2 * std::sqrt(std::pow(meanCp, 7) / (std::pow(meanCp, 7) + pow25));
    const double sl = 1 + 0.015 * std::pow(meanL - 50, 2) / std::sqrt(20 + std::pow(meanL - 50, 2));
    const double sc = 1 + 0.045 * meanCp, sh = 1 + 0.015 * meanCp * t;
    const double rt = -std::sin(2 * rotation * Degree) * rc;
    return std::sqrt(std::pow(dL / sl, 2) + std::pow(dC / sc, 2) + std::pow(dH / sh, 2) + rt * (dC / sc) * (dH / sh));
}

constexpr int GlanceW = 18, GlanceH = 12;
using Glance = std::array<Lab, GlanceW * GlanceH>;
constexpr int Ranks = 64;
using Ladder = std::array<Lab, Ranks>;

// A car as one kind of vision sees it: every pixel laid on asphalt, the
// quarter-size picture of that, and its colours ranked from dark to light.
struct SeenCar {
    std::vector<bool> Opaque;
    std::vector<Rgb3> Pixels;
    Glance Small;
    Ladder Colours;
};

// The opaque pixels from dark to light, read at Ranks evenly spaced ranks; a
// pixel weighs by its ΔE from the asphalt, from 0.15 up to 1 at 40 and beyond.
Ladder Rank(const std::vector<Lab>& colours, const Lab& ground)
{
    std::vector<std::pair<Lab, double>> weighed;
    double total = 0;
    for (const Lab& c : colours) {
        weighed.push_back({c, std::clamp(DeltaE(c, ground) / 40, 0.15, 1.0)});
        total += weighed.back().second;
    }
    std::stable_sort(weighed.begin(), weighed.end(), [](const auto& a, const auto& b) { return a.first.L < b.first.L; });
    Ladder ladder;
    double below = 0;
    size_t k = 0;
    for (int r = 0; r < Ranks; ++r) {
        const double rank = (r + 0.5) * total / Ranks;
        while (k + 1 < weighed.size() && below + weighed[k].second < rank)
            below += weighed[k++].second;
        ladder[static_cast<size_t>(r)] = weighed[k].first;
    }
    return ladder;
}

SeenCar See(const Picture& car, const Vision& v)
{
    SeenCar seen;
    std::vector<Lab> opaque;
    for (uint32_t p : car.Pixels) {
        seen.Opaque.push_back(p >> 24 == 255);
        seen.Pixels.push_back(Seen(v, p >> 24 == 255 ? Colour(p) : Asphalt));
        if (seen.Opaque.back())
            opaque.push_back(ToLab(seen.Pixels.back()));
    }
    seen.Colours = Rank(opaque, ToLab(Seen(v, Asphalt)));
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

// The mean colour difference of two pictures, pixel by pixel.
template <size_t N>
double MeanDeltaE(const std::array<Lab, N>& a, const std::array<Lab, N>& b, double (*delta)(const Lab&, const Lab&))
{
    double sum = 0;
    for (size_t k = 0; k < N; ++k)
        sum += delta(a[k], b[k]);
    return sum / static_cast<double>(N);
}

double GlanceDistance(const Glance& a, const Glance& b) { return MeanDeltaE(a, b, DeltaE); }

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

// The share of the pixels opaque in one car only, of those opaque in either.
double OutlineDifference(const SeenCar& a, const SeenCar& b)
{
    int either = 0, one = 0;
    for (size_t k = 0; k < a.Opaque.size(); ++k) {
        either += a.Opaque[k] || b.Opaque[k];
        one += a.Opaque[k] != b.Opaque[k];
    }
    return static_cast<double>(one) / static_cast<double>(either);
}

double FirstSightDistance(const SeenCar& a, const SeenCar& b)
{
    return MeanDeltaE(a.Colours, b.Colours, DeltaE2000) + 50 * OutlineDifference(a, b);
}

struct PairScore {
    int A, B;
    double Glance, Share, FirstSight;
};

// Every pair scored once per vision, closest at a glance first.
const std::vector<PairScore>& ScoreEveryPair(const Vision& v)
{
    static std::vector<PairScore> scored[std::size(Visions)];
    std::vector<PairScore>& scores = scored[&v - Visions];
    if (!scores.empty())
        return scores;
    const Catalogue& c = BuiltInCatalogue();
    std::vector<SeenCar> cars;
    for (int i = 1; i <= Cars; ++i)
        cars.push_back(See(c[i], v));
    for (size_t i = 0; i < cars.size(); ++i)
        for (size_t j = i + 1; j < cars.size(); ++j)
            scores.push_back({static_cast<int>(i + 1), static_cast<int>(j + 1), GlanceDistance(cars[i].Small, cars[j].Small),
                              Share(cars[i], cars[j]), FirstSightDistance(cars[i], cars[j])});
    std::sort(scores.begin(), scores.end(), [](const PairScore& a, const PairScore& b) { return a.Glance < b.Glance; });
    return scores;
}

const PairScore& ScoreOf(const Vision& v, int a, int b)
{
    const std::vector<PairScore>& scores = ScoreEveryPair(v);
    return *std::find_if(scores.begin(), scores.end(), [&](const PairScore& s) { return s.A == a && s.B == b; });
}

// A picture of the car rectangle: the rows from top to bottom in the given colours.
Picture Stripes(const std::vector<std::pair<int, uint32_t>>& rowsAndColours)
{
    Picture p(74, 48, 0x00fd43f2u);
    int y = 0;
    for (const auto& [rows, colour] : rowsAndColours)
        for (int end = y + rows; y < end; ++y)
            for (int x = 8; x < 66; ++x)
                p.Pixels[static_cast<size_t>(y * 74 + x)] = colour;
    return p;
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
    // Pairs from Sharma, Wu and Dalal's CIEDE2000 test data, the hue rotation
    // in the blues among them.
    const struct {
        Lab X, Y;
        double Expected;
    } sharma[] = {{{50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425},
                  {{50, 0, 0}, {50, -1, 2}, 2.3669},
                  {{50, 2.5, 0}, {73, 25, -18}, 27.1492},
                  {{50, 2.5, 0}, {56, -27, -3}, 31.9030},
                  {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644}};
    for (const auto& pair : sharma) {
        EXPECT_NEAR(DeltaE2000(pair.X, pair.Y), pair.Expected, 1e-4);
        EXPECT_NEAR(DeltaE2000(pair.Y, pair.X), pair.Expected, 1e-4);
    }
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
    // At first sight a navy body with a cream front is a navy body with a cream
    // roof, though the glance sees them differ; a red body is not a blue one.
    const uint32_t navy = 0xff1c286eu, cream = 0xfff0e0aau, red2 = 0xffd42424u, blue = 0xff2654d6u, tyre = 0xff1a1a1cu;
    const SeenCar creamFront = See(Stripes({{4, 0}, {30, navy}, {10, cream}, {4, tyre}}), Visions[0]);
    const SeenCar creamRoof = See(Stripes({{4, 0}, {10, cream}, {30, navy}, {4, tyre}}), Visions[0]);
    const SeenCar redBody = See(Stripes({{4, 0}, {40, red2}, {4, tyre}}), Visions[0]);
    const SeenCar blueBody = See(Stripes({{4, 0}, {40, blue}, {4, tyre}}), Visions[0]);
    EXPECT_GT(GlanceDistance(creamFront.Small, creamRoof.Small), 20);
    EXPECT_LT(FirstSightDistance(creamFront, creamRoof), 1);
    EXPECT_GT(FirstSightDistance(redBody, blueBody), 40);
    // Dark trim weighs little: a black roof on the red body moves it less than
    // a white one.
    const SeenCar blackRoof = See(Stripes({{4, 0}, {10, 0xff2a2c32u}, {30, red2}, {4, tyre}}), Visions[0]);
    const SeenCar whiteRoof = See(Stripes({{4, 0}, {10, 0xffeeeee8u}, {30, red2}, {4, tyre}}), Visions[0]);
    EXPECT_LT(FirstSightDistance(redBody, blackRoof), FirstSightDistance(redBody, whiteRoof));
}

// Common vision: every pair at least 12 apart at a glance and differing in a
// tenth of its pixels. Colour-blind vision: no pair under 8 at a glance, and at
// most a tenth under 5% of the pixels.
TEST(Distinct, EveryPairOfCarsDiffersAtAGlance)
{
    for (const Vision& v : Visions) {
        const bool common = &v == &Visions[0];
        const std::vector<PairScore>& scores = ScoreEveryPair(v);
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
                EXPECT_GE(s.Glance, 12) << "cars " << s.A << " and " << s.B << " look alike at a glance";
                EXPECT_GE(s.Share, 0.10) << "cars " << s.A << " and " << s.B << " share most pixels";
            }
        } else {
            for (const PairScore& s : scores)
                EXPECT_GE(s.Glance, 8) << "cars " << s.A << " and " << s.B << " look alike at a glance, " << v.Name;
            EXPECT_LE(fewPixels, Pairs / 10) << v.Name;
        }
    }
}

// Common vision: every pair at least 16 apart at first sight. Colour-blind
// figures are printed for the record: hue counts for less there, so the floor
// would judge outlines more than paint.
TEST(Distinct, EveryPairOfCarsDiffersAtFirstSight)
{
    for (const Vision& v : Visions) {
        std::vector<PairScore> scores = ScoreEveryPair(v);
        std::sort(scores.begin(), scores.end(),
                  [](const PairScore& a, const PairScore& b) { return a.FirstSight < b.FirstSight; });
        const auto under = [&](double d) {
            return std::count_if(scores.begin(), scores.end(), [d](const PairScore& s) { return s.FirstSight < d; });
        };
        std::printf("%s: closest at first sight", v.Name);
        for (size_t k = 0; k < 6; ++k)
            std::printf(" %d/%d %.1f", scores[k].A, scores[k].B, scores[k].FirstSight);
        std::printf("; %ld pairs under 16, %ld under 23\n", under(16), under(23));
        if (&v != &Visions[0])
            continue;
        for (const PairScore& s : scores)
            EXPECT_GE(s.FirstSight, 16) << "cars " << s.A << " and " << s.B << " look alike at first sight";
    }
}

// Pairs that players took for each other in play, seen by the eyes that mixed
// them up: as far apart at a glance as any two cars must be for common eyes,
// and at first sight clear of the crowded band of pairs that the floor lets
// through (under 23), so that the redraw put them out of reach, not just over
// the line.
TEST(Distinct, CarsPlayersMixedUpStandApart)
{
    const struct {
        int A, B;
        const Vision& Eyes;
    } mixedUp[] = {{15, 40, Visions[0]}, {15, 82, Visions[0]}, {40, 82, Visions[0]}, {65, 74, Visions[0]},
                   {51, 62, Visions[0]}, {26, 34, Visions[1]}, {45, 67, Visions[1]}};
    for (const auto& pair : mixedUp) {
        const PairScore& s = ScoreOf(pair.Eyes, pair.A, pair.B);
        EXPECT_GE(s.Glance, 12) << "cars " << pair.A << " and " << pair.B << ", " << pair.Eyes.Name;
        EXPECT_GE(s.FirstSight, 23) << "cars " << pair.A << " and " << pair.B << ", " << pair.Eyes.Name;
    }
}
