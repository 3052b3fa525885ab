#include "CarArt.h"

#include "ArtColours.h"
#include "CarDesigns.h"
#include "Iso.h"

#include <array>
#include <cmath>
#include <stdexcept>

namespace {

// A car's design with its paints as the painter takes them.
struct Design {
    Style Kind;
    QColor Paint;
    QColor Accent;
    Trim Look;
    const char* Name;
};

const QColor Glass(52, 76, 102);
const QColor GlassLight(120, 150, 178);
const QColor Tyre(26, 26, 28);
const QColor Hub(178, 180, 188);
const QColor HeadLight(255, 246, 196);
const QColor TailLight(214, 24, 24);
const QColor Grille(38, 38, 42);
const QColor Bumper(92, 94, 100);
const QColor Seat(70, 44, 30);
const QColor Timber(150, 92, 44);

// A car body made of a lower shell and a glass house on top, as most cars are.
struct Plan {
    Profile Lower;
    int NoseEdge = 0;   // the lower edge that faces forward, carrying the lamps
    Profile Cabin;      // empty for open cars
    int ScreenEdge = -1; // cabin edge of the windscreen
    double Y0 = 6, Y1 = 26;
    double CabinInset = 1.5;
    double FrontWheel = 14, RearWheel = 48, WheelRadius = 4.2;
    std::vector<double> Pillars;
};

double Mid(const Plan& plan) { return (plan.Y0 + plan.Y1) / 2; }

Plan SaloonPlan()
{
    Plan p;
    p.Lower = {{6, 2.5}, {58, 2.5}, {58, 8}, {56, 9}, {12, 9}, {6, 7.5}};
    p.NoseEdge = 5;
    p.Cabin = {{17, 9}, {47, 9}, {41, 15}, {25, 15}};
    p.ScreenEdge = 3;
    p.FrontWheel = 15;
    p.RearWheel = 48;
    p.Pillars = {33.5};
    return p;
}

Plan HatchbackPlan()
{
    Plan p;
    p.Lower = {{9, 2.5}, {52, 2.5}, {52, 9}, {14, 9}, {9, 7.5}};
    p.NoseEdge = 4;
    p.Cabin = {{19, 9}, {52, 9}, {48, 15}, {27, 15}};
    p.ScreenEdge = 3;
    p.FrontWheel = 16.5;
    p.RearWheel = 44.5;
    p.Pillars = {37};
    return p;
}

Plan EstatePlan()
{
    Plan p;
    p.Lower = {{6, 2.5}, {58, 2.5}, {58, 8.8}, {57, 9.8}, {12, 9.8}, {6, 8}};
    p.NoseEdge = 5;
    p.Cabin = {{17, 9.8}, {57, 9.8}, {55.5, 12.2}, {50, 14.8}, {24, 16.4}};
    p.ScreenEdge = 4;
    p.FrontWheel = 15;
    p.RearWheel = 48;
    p.Pillars = {33.5, 46};
    return p;
}

Plan SportsPlan()
{
    Plan p;
    p.Lower = {{5, 2}, {58, 2}, {58, 6.5}, {56, 7.5}, {13, 7.5}, {5, 5}};
    p.NoseEdge = 5;
    p.Y0 = 7;
    p.Y1 = 25;
    p.Cabin = {{24, 7.5}, {50, 7.5}, {40, 11.5}, {31, 11.5}};
    p.ScreenEdge = 3;
    p.CabinInset = 2;
    p.FrontWheel = 14;
    p.RearWheel = 50;
    p.WheelRadius = 4;
    return p;
}

Plan SuvPlan()
{
    Plan p;
    p.Lower = {{6, 3.5}, {50, 3.5}, {50, 10}, {13, 10.5}, {6, 9.5}};
    p.NoseEdge = 4;
    p.Cabin = {{16, 10.5}, {49.5, 10.2}, {46, 16.5}, {22, 17}};
    p.ScreenEdge = 3;
    p.CabinInset = 1.2;
    p.FrontWheel = 14.5;
    p.RearWheel = 42;
    p.WheelRadius = 5;
    p.Pillars = {30, 39.5};
    return p;
}

Plan CityCarPlan()
{
    Plan p;
    p.Lower = {{14, 2.5}, {45, 2.5}, {45, 9}, {19, 9}, {14, 7.5}};
    p.NoseEdge = 4;
    p.Y0 = 7;
    p.Y1 = 25;
    p.Cabin = {{21, 9}, {45, 9}, {43.5, 16}, {27, 16}};
    p.ScreenEdge = 3;
    p.FrontWheel = 20;
    p.RearWheel = 39.5;
    p.WheelRadius = 3.8;
    return p;
}

Plan LimousinePlan()
{
    Plan p;
    p.Lower = {{4, 2.5}, {60, 2.5}, {60, 7.5}, {58, 8.5}, {10, 8.5}, {4, 7}};
    p.NoseEdge = 5;
    p.Y0 = 7;
    p.Y1 = 25;
    p.Cabin = {{16, 8.5}, {53, 8.5}, {48, 13.5}, {23, 13.5}};
    p.ScreenEdge = 3;
    p.FrontWheel = 12.5;
    p.RearWheel = 52;
    p.WheelRadius = 3.8;
    p.Pillars = {30, 39};
    return p;
}

void ArchAndWheel(IsoPainter& p, double x, double y, double r, const QColor& body, const QColor& hub = Hub)
{
    std::vector<V3> arch;
    for (int i = 0; i <= 10; ++i) {
        const double a = i * M_PI / 10;
        arch.push_back({x + (r + 1) * std::cos(a), y, r + (r + 1) * std::sin(a)});
    }
    p.Flat(arch, Scaled(body, 0.28));
    p.Wheel(x, y + 0.01, r, Tyre, hub);
}

void FarWheels(IsoPainter& p, const Plan& plan)
{
    p.Wheel(plan.FrontWheel, plan.Y0 + 0.5, plan.WheelRadius, Tyre, Tyre);
    p.Wheel(plan.RearWheel, plan.Y0 + 0.5, plan.WheelRadius, Tyre, Tyre);
}

void NearWheels(IsoPainter& p, const Plan& plan, const QColor& body)
{
    ArchAndWheel(p, plan.FrontWheel, plan.Y1 + 0.02, plan.WheelRadius, body);
    ArchAndWheel(p, plan.RearWheel, plan.Y1 + 0.02, plan.WheelRadius, body);
}

// Headlamps, grille and bumper on a forward face running from top p to bottom q.
void Nose(IsoPainter& p, QPointF top, QPointF bottom, double y0, double y1, bool grille = true)
{
    const double w = y1 - y0;
    const double lamp = std::min(4.0, w * 0.22);
    p.OnStrip(top, bottom, 0.62, 1.0, y0, y1, Bumper);
    p.OnStrip(top, bottom, 0.08, 0.5, y0 + 0.8, y0 + 0.8 + lamp, HeadLight, false);
    p.OnStrip(top, bottom, 0.08, 0.5, y1 - 0.8 - lamp, y1 - 0.8, HeadLight, false);
    if (grille)
        p.OnStrip(top, bottom, 0.15, 0.55, y0 + lamp + 2.3, y1 - lamp - 2.3, Grille);
}

void TailLamp(IsoPainter& p, double x1, double y, double z0, double z1)
{
    p.OnSide({{x1 - 2.4, z0}, {x1 - 0.3, z0}, {x1 - 0.3, z1}, {x1 - 2.4, z1}}, y + 0.02, TailLight, false);
}

// Strips along every upward face of a profile between xLow and xHigh, from y0 to y1 across.
void TopBands(IsoPainter& p, const Profile& profile, double y0, double y1, const QColor& colour,
              double xLow = -1e9, double xHigh = 1e9)
{
    const size_t n = profile.size();
    for (size_t i = 0; i < n; ++i) {
        const QPointF a = profile[i];
        const QPointF b = profile[(i + 1) % n];
        if (!(b.x() < a.x() && std::abs(b.y() - a.y()) < (a.x() - b.x()) * 1.2))
            continue;
        // x falls from a to b: t at xHigh comes first.
        const double t0 = std::clamp((xHigh - a.x()) / (b.x() - a.x()), 0.0, 1.0);
        const double t1 = std::clamp((xLow - a.x()) / (b.x() - a.x()), 0.0, 1.0);
        if (t1 > t0)
            p.OnStrip(a, b, t0, t1, y0, y1, colour);
    }
}

// The part of a polygon between xLow and xHigh.
Profile ClipX(const Profile& polygon, double xLow, double xHigh)
{
    auto clip = [](const Profile& in, double x, bool keepBelow) {
        Profile out;
        const size_t n = in.size();
        for (size_t i = 0; i < n; ++i) {
            const QPointF a = in[i], b = in[(i + 1) % n];
            const bool ia = keepBelow ? a.x() <= x : a.x() >= x;
            const bool ib = keepBelow ? b.x() <= x : b.x() >= x;
            if (ia)
                out.push_back(a);
            if (ia != ib)
                out.push_back({x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x())});
        }
        return out;
    };
    return clip(clip(polygon, xLow, false), xHigh, true);
}

// The polygon cut to a horizontal slice of heights z0 … z1.
Profile ClipZ(const Profile& polygon, double z0, double z1)
{
    Profile turned;
    for (const QPointF& q : polygon)
        turned.push_back({q.y(), q.x()});
    Profile cut;
    for (const QPointF& q : ClipX(turned, z0, z1))
        cut.push_back({q.y(), q.x()});
    return cut;
}

void Checkers(IsoPainter& p, double x0, double x1, double y, double z, const QColor& a, const QColor& b,
              double step = 2.5)
{
    int i = 0;
    for (double x = x0; x + step <= x1 + 0.01; x += step, ++i) {
        p.OnSide({{x, z}, {x + step, z}, {x + step, z + step * 0.6}, {x, z + step * 0.6}}, y + 0.03, i % 2 ? a : b);
        p.OnSide({{x, z + step * 0.6}, {x + step, z + step * 0.6}, {x + step, z + step * 1.2}, {x, z + step * 1.2}}, y + 0.03,
                 i % 2 ? b : a);
    }
}

// Windows of a glass house: inset side glass split by pillars.
void SideGlass(IsoPainter& p, const Profile& cabin, double y, const std::vector<double>& pillars, const QColor& frame)
{
    const Profile glass = Inset(cabin, 1.1);
    p.OnSide(glass, y + 0.02, Glass);
    double roof = 0;
    for (const QPointF& q : cabin)
        roof = std::max(roof, q.y());
    for (double x : pillars)
        p.OnSide({{x - 0.8, cabin[0].y()}, {x + 0.8, cabin[0].y()}, {x + 0.8, roof}, {x - 0.8, roof}}, y + 0.04, frame);
}

// A drum lying along X, centre at height zc; its round front end a shade
// darker, or left open for a hoop around another drum.
void Barrel(IsoPainter& p, double x0, double x1, double yc, double zc, double r, const QColor& colour, bool end = true)
{
    const int sides = 14;
    struct Side {
        std::vector<V3> Points;
        V3 Normal;
        double Depth;
    };
    std::vector<Side> faces;
    std::vector<V3> cap;
    for (int i = 0; i < sides; ++i) {
        const double a0 = 2 * M_PI * i / sides, a1 = 2 * M_PI * (i + 1) / sides, am = (a0 + a1) / 2;
        const double y0 = yc + r * std::cos(a0), z0 = zc + r * std::sin(a0);
        const double y1 = yc + r * std::cos(a1), z1 = zc + r * std::sin(a1);
        faces.push_back({{{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z1}, {x0, y1, z1}}, {0, std::cos(am), std::sin(am)},
                         std::cos(am) + std::sin(am)});
        cap.push_back({x0, y0, z0});
    }
    std::stable_sort(faces.begin(), faces.end(), [](const Side& a, const Side& b) { return a.Depth < b.Depth; });
    for (const Side& f : faces)
        p.Face(f.Points, f.Normal, colour);
    if (end)
        p.Face(cap, {-1, 0, 0}, Scaled(colour, 0.7));
}

// The side of a body between two heights in the accent, on the near face at y.
void SideBand(IsoPainter& p, const Profile& profile, double y, double z0, double z1, const QColor& colour)
{
    const Profile band = ClipZ(Inset(profile, 0.7), z0, z1);
    if (band.size() >= 3)
        p.OnSide(band, y + 0.03, colour);
}

void DrawPlan(IsoPainter& p, const Plan& plan, const Design& d)
{
    const QColor cabinColour = d.Look == Trim::Roof ? d.Accent : d.Paint;
    FarWheels(p, plan);
    p.Prism(plan.Lower, plan.Y0, plan.Y1, d.Paint);
    const double mid = Mid(plan);
    double rear = 0, belt = 8;
    for (const QPointF& q : plan.Lower)
        rear = std::max(rear, q.x());
    if (!plan.Cabin.empty())
        belt = plan.Cabin[0].y();
    const QPointF noseTop = plan.Lower[plan.NoseEdge];
    const QPointF noseBottom = plan.Lower[(plan.NoseEdge + 1) % plan.Lower.size()];
    if (d.Look == Trim::Bonnet) {
        // Front wings, bonnet and nose up to the windscreen.
        const double screen = plan.Cabin.empty() ? 20 : plan.Cabin[0].x() + 0.5;
        TopBands(p, plan.Lower, plan.Y0, plan.Y1, d.Accent, -1e9, screen);
        p.OnSide(ClipX(plan.Lower, -1e9, screen), plan.Y1 + 0.01, d.Accent);
        p.OnStrip(noseTop, noseBottom, 0, 1, plan.Y0, plan.Y1, d.Accent);
    }
    if (d.Look == Trim::Stripes) {
        TopBands(p, plan.Lower, mid - 4.4, mid - 1, d.Accent);
        TopBands(p, plan.Lower, mid + 1, mid + 4.4, d.Accent);
        p.OnStrip(noseTop, noseBottom, 0, 0.6, mid - 4.4, mid - 1, d.Accent);
        p.OnStrip(noseTop, noseBottom, 0, 0.6, mid + 1, mid + 4.4, d.Accent);
    }
    const double cy0 = plan.Y0 + plan.CabinInset, cy1 = plan.Y1 - plan.CabinInset;
    if (!plan.Cabin.empty()) {
        std::vector<QColor> edges(plan.Cabin.size());
        if (plan.ScreenEdge >= 0)
            edges[plan.ScreenEdge] = GlassLight;
        edges[1] = Glass;
        p.Prism(plan.Cabin, cy0, cy1, cabinColour, edges);
        if (plan.ScreenEdge >= 0) {
            // A frame around the windscreen and a glint on it.
            const QPointF a = plan.Cabin[plan.ScreenEdge], b = plan.Cabin[(plan.ScreenEdge + 1) % plan.Cabin.size()];
            p.OnStrip(a, b, 0, 1, cy0, cy0 + 1, cabinColour);
            p.OnStrip(a, b, 0, 1, cy1 - 1, cy1, cabinColour);
            p.OnStrip(a, b, 0.25, 0.5, cy0 + 4, cy0 + 6.5, QColor(200, 222, 238), false);
        }
        SideGlass(p, plan.Cabin, cy1, plan.Pillars, cabinColour);
        if (d.Look == Trim::Stripes) {
            TopBands(p, plan.Cabin, mid - 4.4, mid - 1, d.Accent);
            TopBands(p, plan.Cabin, mid + 1, mid + 4.4, d.Accent);
        }
    }
    Nose(p, noseTop, noseBottom, plan.Y0, plan.Y1);
    TailLamp(p, rear, plan.Y1, belt - 2.6, belt - 1.2);
    if (d.Look == Trim::Wood) {
        const double x0 = plan.Lower[0].x() + 1.5, x1 = rear - 1.5;
        p.OnSide({{x0, 3.2}, {x1, 3.2}, {x1, belt - 0.6}, {x0, belt - 0.6}}, plan.Y1 + 0.03, d.Accent);
        p.OnSide({{x0 + 1, 4}, {x1 - 1, 4}, {x1 - 1, belt - 1.4}, {x0 + 1, belt - 1.4}}, plan.Y1 + 0.04, Timber);
    }
    if (d.Look == Trim::Band)
        SideBand(p, plan.Lower, plan.Y1, plan.Lower[0].y() + 1.2, belt - 1.6, d.Accent);
    NearWheels(p, plan, d.Paint);
}

void DrawConvertible(IsoPainter& p, const Design& d)
{
    // A low open two-seater, shorter than a saloon, its hood folded behind the
    // seats: nothing stands above the belt but the seats and a low windscreen.
    Plan plan;
    plan.Lower = {{8, 2.5}, {55, 2.5}, {55, 7}, {53, 8}, {14, 8}, {8, 6.5}};
    plan.FrontWheel = 16;
    plan.RearWheel = 46;
    plan.Y0 = 7;
    plan.Y1 = 25;
    // The accent is the hide of the seats and the folded hood.
    const QColor hide = d.Look == Trim::Roof ? d.Accent : Seat;
    FarWheels(p, plan);
    p.Prism(plan.Lower, plan.Y0, plan.Y1, d.Paint);
    if (d.Look == Trim::Stripes) {
        TopBands(p, plan.Lower, Mid(plan) - 4.4, Mid(plan) - 1, d.Accent);
        TopBands(p, plan.Lower, Mid(plan) + 1, Mid(plan) + 4.4, d.Accent);
    }
    // The open cockpit: a tub with two seats.
    p.Flat({{29, 9.5, 8}, {45, 9.5, 8}, {45, 22.5, 8}, {29, 22.5, 8}}, Scaled(hide, 0.55));
    p.Box(33, 38, 10, 15.5, 8, 10, hide);
    p.Box(37, 38.5, 10, 15.5, 10, 12, hide);
    p.Box(33, 38, 16.5, 22, 8, 10, hide);
    p.Box(37, 38.5, 16.5, 22, 10, 12, hide);
    p.Prism({{43, 8}, {50, 8}, {49, 10}, {44, 10}}, 9, 23, d.Look == Trim::Roof ? d.Accent : Black);
    // Windscreen frame standing up from the scuttle.
    p.Prism({{26, 8}, {27.5, 8}, {29.5, 11.5}, {28, 11.5}}, 9, 23, GlassLight, {QColor(), GlassLight, GlassLight, GlassLight});
    p.Box(28.1, 29.7, 9, 23, 11.5, 12.2, d.Paint);
    Nose(p, plan.Lower[5], plan.Lower[0], plan.Y0, plan.Y1);
    TailLamp(p, 55, plan.Y1, 5.6, 7);
    if (d.Look == Trim::Band)
        SideBand(p, plan.Lower, plan.Y1, 3.8, 7, d.Accent);
    NearWheels(p, plan, d.Paint);
}

// A taxi wears its sign on the roof; a chequered band or a plain paint.
void DrawTaxi(IsoPainter& p, const Design& d)
{
    const Plan plan = SaloonPlan();
    Design body = d;
    if (d.Look == Trim::Band)
        body.Look = Trim::Plain;
    DrawPlan(p, plan, body);
    if (d.Look == Trim::Band)
        Checkers(p, 8, 56, plan.Y1, 3.4, Black, White, 3);
    const double mid = Mid(plan);
    p.Box(27, 37, mid - 5.5, mid + 5.5, 15, 18.5, d.Accent);
    p.OnStrip({27, 18.5}, {27, 15}, 0.25, 0.75, mid - 4, mid + 4, Black); // the plate of the sign
}

// Police cars wear blue and yellow squares down the whole side and a light
// bar, so they read at once even next to a saloon of the same paint.
void DrawPolice(IsoPainter& p, const Design& d)
{
    const bool fourByFour = d.Kind == Style::Police4x4;
    const Plan plan = fourByFour ? SuvPlan() : SaloonPlan();
    Design body = d;
    body.Look = Trim::Plain;
    DrawPlan(p, plan, body);
    const double z0 = plan.Lower[0].y() + 0.6, z1 = plan.Cabin[0].y() - 0.6, zm = (z0 + z1) / 2;
    const double x1 = fourByFour ? 49 : 57;
    int i = 0;
    for (double x = plan.Lower[0].x() + 1; x + 4 <= x1 + 0.01; x += 4, ++i) {
        p.OnSide({{x, z0}, {x + 4, z0}, {x + 4, zm}, {x, zm}}, plan.Y1 + 0.03, i % 2 ? Blue : Yellow);
        p.OnSide({{x, zm}, {x + 4, zm}, {x + 4, z1}, {x, z1}}, plan.Y1 + 0.03, i % 2 ? Yellow : Blue);
    }
    NearWheels(p, plan, Blue);
    double roof = 0;
    for (const QPointF& q : plan.Cabin)
        roof = std::max(roof, q.y());
    const double mid = Mid(plan), x = fourByFour ? 30 : 29;
    p.Box(x, x + 4, mid - 7, mid, roof, roof + 2, QColor(30, 90, 255));
    p.Box(x, x + 4, mid, mid + 7, roof, roof + 2, QColor(240, 30, 30));
}

// One-box bodies lower than a motorhome or a box lorry: van, ambulance, ice cream van.
void DrawVan(IsoPainter& p, const Design& d, Style kind)
{
    Plan plan;
    plan.Lower = {{8, 2.5}, {47, 2.5}, {47, 12.8}, {45, 14.4}, {21, 14.4}, {14, 10}, {8, 9}};
    plan.FrontWheel = 15;
    plan.RearWheel = 40;
    plan.WheelRadius = 4.2;
    const QColor upper = d.Look == Trim::Roof ? d.Accent : d.Paint;
    FarWheels(p, plan);
    std::vector<QColor> edges(plan.Lower.size());
    edges[4] = GlassLight; // windscreen
    p.Prism(plan.Lower, plan.Y0, plan.Y1, d.Paint, edges);
    if (d.Look == Trim::Roof) {
        // The upper half in the second colour, roof and side alike.
        SideBand(p, plan.Lower, plan.Y1 - 0.02, 9.5, 20, upper);
        TopBands(p, {plan.Lower[3], plan.Lower[4]}, plan.Y0, plan.Y1, upper);
        p.OnStrip(plan.Lower[2], plan.Lower[3], 0, 1, plan.Y0, plan.Y1, upper);
    }
    if (d.Look == Trim::Stripes) {
        TopBands(p, plan.Lower, Mid(plan) - 4.4, Mid(plan) - 1, d.Accent);
        TopBands(p, plan.Lower, Mid(plan) + 1, Mid(plan) + 4.4, d.Accent);
    }
    const QPointF sTop = plan.Lower[4], sBottom = plan.Lower[5];
    p.OnStrip(sTop, sBottom, 0, 1, plan.Y0, plan.Y0 + 1, upper);
    p.OnStrip(sTop, sBottom, 0, 1, plan.Y1 - 1, plan.Y1, upper);
    p.OnStrip(sTop, sBottom, 0.3, 0.6, plan.Y0 + 4, plan.Y0 + 7, QColor(200, 222, 238), false);
    if (d.Look == Trim::Band)
        p.OnSide({{21, 5.5}, {46.3, 5.5}, {46.3, 9.5}, {21, 9.5}}, plan.Y1 + 0.015, d.Accent);
    // Cab door window.
    const double sx = plan.Lower[5].x();
    p.OnSide({{sx + 1.5, 10.5}, {plan.Lower[4].x() - 0.2, 13.6}, {26, 13.6}, {26, 10.5}}, plan.Y1 + 0.02, Glass);
    const QPointF noseTop = plan.Lower[6], noseBottom = plan.Lower[0];
    Nose(p, noseTop, noseBottom, plan.Y0, plan.Y1);
    TailLamp(p, plan.Lower[1].x(), plan.Y1, 7, 9);
    if (kind == Style::Ambulance) {
        // Yellow and green squares down the side, a red cross above them and a
        // blue lamp bar over the windscreen.
        int i = 0;
        for (double x = 9.5; x + 4 <= 46.5; x += 4, ++i) {
            p.OnSide({{x, 3.2}, {x + 4, 3.2}, {x + 4, 6.3}, {x, 6.3}}, plan.Y1 + 0.03, i % 2 ? DarkGreen : Yellow);
            p.OnSide({{x, 6.3}, {x + 4, 6.3}, {x + 4, 9.4}, {x, 9.4}}, plan.Y1 + 0.03, i % 2 ? Yellow : DarkGreen);
        }
        p.OnSide({{34.5, 9.8}, {37.5, 9.8}, {37.5, 14}, {34.5, 14}}, plan.Y1 + 0.05, Red);
        p.OnSide({{33, 10.9}, {39, 10.9}, {39, 12.9}, {33, 12.9}}, plan.Y1 + 0.05, Red);
        p.Box(22, 25, 9, 23, 14.4, 16.4, QColor(40, 110, 255));
    }
    if (kind == Style::IceCream) {
        // A cone on the roof over the cab, and the serving hatch.
        p.Prism({{24, 14.4}, {27, 14.4}, {28.5, 18.4}, {22.5, 18.4}}, 14, 18, QColor(222, 170, 90));
        p.Disc(25.5, 16, 18.7, 2.8, Pink);
        p.Disc(25.5, 16, 19.7, 1.8, QColor(120, 66, 40));
        p.OnSide({{28, 10}, {44, 10}, {44, 13.4}, {28, 13.4}}, plan.Y1 + 0.02, QColor(70, 40, 30));
        p.OnSide({{28, 9}, {44, 9}, {44, 10}, {28, 10}}, plan.Y1 + 0.03, d.Accent);
    }
    NearWheels(p, plan, d.Paint);
}

// A motorhome: a living box on a low cab, and over the cab a bed that juts
// out ahead of the windscreen, so its front is square where a van's slopes.
void DrawCamper(IsoPainter& p, const Design& d)
{
    Plan plan;
    plan.FrontWheel = 14;
    plan.RearWheel = 40;
    plan.WheelRadius = 4.2;
    const QColor upper = d.Look == Trim::Roof ? d.Accent : d.Paint;
    FarWheels(p, plan);
    // The cab under the bed, then the box and the bed above it.
    const Profile cab = {{7, 2.5}, {17, 2.5}, {17, 11.5}, {12, 11.5}, {7, 8}};
    std::vector<QColor> cabEdges(cab.size());
    cabEdges[3] = GlassLight; // windscreen
    p.Prism(cab, plan.Y0 + 0.5, plan.Y1 - 0.5, d.Paint, cabEdges);
    p.Box(16.5, 47, plan.Y0, plan.Y1, 2.5, 15.5, d.Paint);
    p.Prism({{6, 11.5}, {19, 11.5}, {19, 18}, {7, 18}, {6, 17}}, plan.Y0, plan.Y1, upper);
    if (d.Look == Trim::Roof) {
        // The upper half in the second colour, roof and side alike.
        p.OnSide({{16.6, 9.5}, {46.9, 9.5}, {46.9, 15.4}, {16.6, 15.4}}, plan.Y1 + 0.01, upper);
        p.Flat({{16.5, plan.Y0, 15.5}, {47, plan.Y0, 15.5}, {47, plan.Y1, 15.5}, {16.5, plan.Y1, 15.5}}, upper);
        p.OnStrip({47, 15.5}, {47, 9.5}, 0, 1, plan.Y0, plan.Y1, upper);
    }
    if (d.Look == Trim::Stripes) {
        for (double y0 : {Mid(plan) - 4.4, Mid(plan) + 1}) {
            p.Flat({{19, y0, 15.52}, {47, y0, 15.52}, {47, y0 + 3.4, 15.52}, {19, y0 + 3.4, 15.52}}, d.Accent);
            p.Flat({{7, y0, 18.02}, {19, y0, 18.02}, {19, y0 + 3.4, 18.02}, {7, y0 + 3.4, 18.02}}, d.Accent);
            p.OnStrip({6, 17}, {6, 11.5}, 0, 1, y0, y0 + 3.4, d.Accent);
        }
    }
    if (d.Look == Trim::Band)
        p.OnSide({{17.5, 5.5}, {46.3, 5.5}, {46.3, 9.5}, {17.5, 9.5}}, plan.Y1 + 0.015, d.Accent);
    // The bed's window, the cab door window and the windows of the living box.
    p.OnSide({{8, 13}, {17, 13}, {17, 16}, {8, 16}}, plan.Y1 + 0.02, Glass);
    p.OnSide({{12.5, 8.5}, {14, 10.5}, {16.5, 10.5}, {16.5, 8.5}}, plan.Y1 - 0.48, Glass);
    for (double x : {22.0, 32.0})
        p.OnSide({{x, 10}, {x + 6.5, 10}, {x + 6.5, 14}, {x, 14}}, plan.Y1 + 0.02, Glass);
    p.Box(28, 34, 12, 20, 15.5, 16.8, Silver); // roof light
    Nose(p, cab[4], cab[0], plan.Y0 + 0.5, plan.Y1 - 0.5);
    TailLamp(p, 47, plan.Y1, 6, 8);
    NearWheels(p, plan, d.Paint);
}

void DrawPickup(IsoPainter& p, const Design& d)
{
    // A pickup on big wheels: a tall cab and an open bed, standing higher than a saloon.
    Plan plan;
    plan.Lower = {{6, 4.2}, {55, 4.2}, {55, 9.5}, {12, 10}, {6, 9.5}};
    plan.FrontWheel = 15;
    plan.RearWheel = 45;
    plan.WheelRadius = 5.4;
    const QColor cabColour = d.Look == Trim::Roof ? d.Accent : d.Paint;
    FarWheels(p, plan);
    p.Prism(plan.Lower, plan.Y0, plan.Y1, d.Paint);
    if (d.Look == Trim::Bonnet) {
        TopBands(p, plan.Lower, plan.Y0, plan.Y1, d.Accent, -1e9, 16.5);
        p.OnSide(ClipX(plan.Lower, -1e9, 16.5), plan.Y1 + 0.01, d.Accent);
        p.OnStrip(plan.Lower[4], plan.Lower[0], 0, 1, plan.Y0, plan.Y1, d.Accent);
    }
    if (d.Look == Trim::Stripes) {
        TopBands(p, plan.Lower, Mid(plan) - 4.4, Mid(plan) - 1, d.Accent, -1e9, 16.5);
        TopBands(p, plan.Lower, Mid(plan) + 1, Mid(plan) + 4.4, d.Accent, -1e9, 16.5);
    }
    // The load bed: dark floor inside three low walls.
    p.Flat({{35, 7.5, 9.6}, {53.5, 7.5, 9.6}, {53.5, 24.5, 9.6}, {35, 24.5, 9.6}}, Scaled(d.Paint, 0.35));
    p.Box(34, 55, 6, 7.5, 9.5, 11.5, d.Paint);
    p.Box(53.5, 55, 6, 26, 9.5, 11.5, d.Paint);
    const Profile cab = {{16, 9.8}, {34.5, 9.8}, {34.5, 17.5}, {23, 17.5}};
    std::vector<QColor> edges(cab.size());
    edges[3] = GlassLight;
    p.Prism(cab, 7, 25, cabColour, edges);
    p.OnStrip(cab[3], cab[0], 0.25, 0.5, 11, 13.5, QColor(200, 222, 238), false);
    SideGlass(p, {{17, 11.5}, {34, 11.5}, {34, 17.5}, {23, 17.5}}, 25, {}, cabColour);
    if (d.Look == Trim::Stripes) {
        TopBands(p, cab, Mid(plan) - 4.4, Mid(plan) - 1, d.Accent);
        TopBands(p, cab, Mid(plan) + 1, Mid(plan) + 4.4, d.Accent);
    }
    p.Box(34, 55, 24.5, 26, 9.5, 11.5, d.Paint);
    if (d.Look == Trim::Band)
        p.OnSide({{7, 5.4}, {54.5, 5.4}, {54.5, 8.8}, {7, 8.8}}, plan.Y1 + 0.03, d.Accent);
    p.Box(35, 37, 9, 23, 17.5, 18.5, Black); // roll bar lamp rack
    Nose(p, plan.Lower[4], plan.Lower[0], plan.Y0, plan.Y1);
    TailLamp(p, 55, plan.Y1, 9.5, 11.2);
    NearWheels(p, plan, d.Paint);
}

void DrawBus(IsoPainter& p, const Design& d)
{
    Plan plan;
    plan.Y0 = 8;
    plan.Y1 = 25;
    plan.Lower = {{3, 2}, {56, 2}, {56, 11.5}, {54.5, 13}, {4.5, 13}, {3, 11.5}};
    plan.FrontWheel = 10.5;
    plan.RearWheel = 44;
    plan.WheelRadius = 4;
    FarWheels(p, plan);
    p.Prism(plan.Lower, plan.Y0, plan.Y1, d.Paint);
    // The roof and the band of windows, or a belt below them, in the second colour.
    const QColor roof = d.Look == Trim::Roof ? d.Accent : Mix(d.Paint, White, 0.55);
    TopBands(p, {plan.Lower[3], plan.Lower[4]}, plan.Y0 + 0.5, plan.Y1 - 0.5, roof);
    if (d.Look == Trim::Roof)
        p.OnSide({{3.5, 6}, {55.5, 6}, {55.5, 11.4}, {54.4, 12.5}, {4.6, 12.5}, {3.5, 11.4}}, plan.Y1 + 0.01, d.Accent);
    p.OnSide({{4, 7}, {54.5, 7}, {54.5, 11.5}, {4, 11.5}}, plan.Y1 + 0.02, Glass);
    for (double x = 10; x < 54; x += 6.5)
        p.OnSide({{x, 7}, {x + 1.1, 7}, {x + 1.1, 11.5}, {x, 11.5}}, plan.Y1 + 0.04, roof == d.Accent ? d.Accent : d.Paint);
    if (d.Look == Trim::Band)
        p.OnSide({{3.5, 3.2}, {55.5, 3.2}, {55.5, 5.8}, {3.5, 5.8}}, plan.Y1 + 0.03, d.Accent);
    // Big windscreen and the destination board on the flat front.
    const QPointF top = plan.Lower[5], bottom = plan.Lower[0];
    p.OnStrip(top, bottom, 0.0, 0.13, plan.Y0 + 1, plan.Y1 - 1, QColor(30, 30, 30), false);
    p.OnStrip(top, bottom, 0.02, 0.11, plan.Y0 + 4, plan.Y1 - 4, QColor(255, 190, 40), false);
    p.OnStrip(top, bottom, 0.15, 0.5, plan.Y0 + 1, plan.Y1 - 1, GlassLight);
    p.OnStrip(top, bottom, 0.62, 0.78, plan.Y0 + 0.8, plan.Y0 + 3.5, HeadLight, false);
    p.OnStrip(top, bottom, 0.62, 0.78, plan.Y1 - 3.5, plan.Y1 - 0.8, HeadLight, false);
    p.OnStrip(top, bottom, 0.85, 1.0, plan.Y0, plan.Y1, Bumper);
    NearWheels(p, plan, d.Paint);
}

void DrawRacer(IsoPainter& p, const Design& d)
{
    // Open wheels on stub axles, a slim hull, a cockpit and a rear wing; the
    // wings, the helmet and a broad stripe down the hull in the second colour.
    const double y0 = 11, y1 = 21;
    p.Wheel(14, 7.5, 4.3, Tyre, Tyre);
    p.Wheel(48, 7.5, 4.8, Tyre, Tyre);
    p.Box(12, 16, 7.5, 24.5, 3.5, 4.8, Bumper);
    p.Box(46, 50, 7.5, 24.5, 3.5, 4.8, Bumper);
    p.Box(4, 9, 8, 24, 1.5, 3, d.Accent); // front wing
    const Profile hull = {{5, 2}, {58, 2}, {58, 6}, {44, 8}, {22, 6.5}, {5, 4.5}};
    p.Prism(hull, y0, y1, d.Paint);
    if (d.Look == Trim::Stripes)
        TopBands(p, hull, 14, 18, d.Accent);
    if (d.Look == Trim::Band)
        p.OnSide({{6, 2.6}, {57.5, 2.6}, {57.5, 4.6}, {6, 4.6}}, y1 + 0.03, d.Accent);
    p.Flat({{30, 13, 7.3}, {38, 13, 7.8}, {38, 19, 7.8}, {30, 19, 7.3}}, QColor(20, 20, 20));
    p.Disc(35, 16, 8.6, 2.2, d.Accent); // helmet
    p.Box(40, 46, 12.5, 19.5, 7.5, 10.5, d.Paint); // air box
    p.Box(55, 57, 15, 17, 6, 8, Black);
    p.Box(52, 59, 6.5, 25.5, 8, 9.5, d.Accent); // rear wing
    p.Wheel(14, 24.5, 4.3, Tyre, Hub);
    p.Wheel(48, 24.5, 4.8, Tyre, Hub);
}

void DrawJeep(IsoPainter& p, const Design& d)
{
    Plan plan;
    plan.Lower = {{8, 4}, {50, 4}, {50, 11}, {8, 11}};
    plan.FrontWheel = 16;
    plan.RearWheel = 42;
    plan.WheelRadius = 5;
    plan.Y0 = 7;
    plan.Y1 = 25;
    const QColor seats = d.Look == Trim::Roof ? d.Accent : Seat;
    FarWheels(p, plan);
    p.Prism(plan.Lower, plan.Y0, plan.Y1, d.Paint);
    if (d.Look == Trim::Bonnet) {
        TopBands(p, plan.Lower, plan.Y0, plan.Y1, d.Accent, -1e9, 22);
        p.OnSide(ClipX(plan.Lower, -1e9, 22), plan.Y1 + 0.01, d.Accent);
    }
    p.Flat({{24, 8.5, 11.05}, {48.5, 8.5, 11.05}, {48.5, 23.5, 11.05}, {24, 23.5, 11.05}}, Scaled(d.Paint, 0.35));
    for (double x : {30.0, 40.0}) {
        p.Box(x, x + 5, 9, 15, 11, 13, seats);
        p.Box(x, x + 5, 17, 23, 11, 13, seats);
    }
    if (d.Look == Trim::Band)
        p.OnSide({{8.6, 6}, {49.4, 6}, {49.4, 9.4}, {8.6, 9.4}}, plan.Y1 + 0.03, d.Accent);
    // Roll bar and an upright windscreen.
    p.Box(38, 39.5, 7.5, 8.8, 11, 17, Black);
    p.Box(38, 39.5, 23.2, 24.5, 11, 17, Black);
    p.Box(38, 39.5, 7.5, 24.5, 16, 17.2, Black);
    p.Prism({{21.5, 11}, {23, 11}, {23.5, 16}, {22, 16}}, 7.5, 24.5, GlassLight);
    p.Box(22, 24, 7.5, 24.5, 16, 16.8, Black);
    // Slotted grille and lamps on the flat front.
    const QPointF top = plan.Lower[3], bottom = plan.Lower[0];
    p.OnStrip(top, bottom, 0.8, 1, plan.Y0, plan.Y1, Black);
    for (double y = 12; y < 20; y += 2)
        p.OnStrip(top, bottom, 0.15, 0.7, y, y + 1, Grille);
    p.OnStrip(top, bottom, 0.15, 0.45, plan.Y0 + 1, plan.Y0 + 4, HeadLight, false);
    p.OnStrip(top, bottom, 0.15, 0.45, plan.Y1 - 4, plan.Y1 - 1, HeadLight, false);
    NearWheels(p, plan, d.Paint);
}

void DrawFireEngine(IsoPainter& p, const Design& d)
{
    Plan plan;
    plan.Lower = {{4, 2.5}, {60, 2.5}, {60, 9.5}, {4, 9.5}};
    plan.Y0 = 7;
    plan.Y1 = 25;
    plan.FrontWheel = 11;
    plan.RearWheel = 47;
    plan.WheelRadius = 4.5;
    FarWheels(p, plan);
    p.Prism(plan.Lower, plan.Y0, plan.Y1, d.Paint);
    const Profile cab = {{4, 9.5}, {18, 9.5}, {18, 16}, {6, 16}, {4, 13}};
    std::vector<QColor> edges(cab.size());
    edges[4] = GlassLight;
    p.Prism(cab, 7, 25, d.Paint, edges);
    p.OnSide({{6, 11.5}, {11, 11.5}, {11, 15}, {7, 15}, {6, 13.5}}, 25.02, Glass);
    p.OnSide({{12, 11.5}, {16.5, 11.5}, {16.5, 15}, {12, 15}}, 25.02, Glass);
    p.Box(8, 14, 11, 21, 16, 17.5, QColor(40, 110, 255));
    // The ladder on its rack, rails and rungs.
    p.Box(20, 56, 10, 11.5, 9.5, 11, d.Accent);
    p.Box(20, 56, 20.5, 22, 9.5, 11, d.Accent);
    for (double x = 22; x < 56; x += 4)
        p.Box(x, x + 1, 11.5, 20.5, 10, 10.8, d.Accent);
    p.OnSide({{19, 4}, {59, 4}, {59, 5.2}, {19, 5.2}}, 25.03, Silver);
    for (double x = 22; x < 58; x += 9)
        p.OnSide({{x, 6}, {x + 7, 6}, {x + 7, 8.8}, {x, 8.8}}, 25.03, Scaled(d.Paint, 0.8));
    const QPointF top = plan.Lower[3], bottom = plan.Lower[0];
    Nose(p, top, bottom, plan.Y0, plan.Y1);
    NearWheels(p, plan, d.Paint);
}

void DrawTowTruck(IsoPainter& p, const Design& d)
{
    Plan plan;
    plan.Lower = {{6, 3}, {56, 3}, {56, 8}, {6, 8}};
    plan.FrontWheel = 14;
    plan.RearWheel = 46;
    plan.WheelRadius = 4.6;
    FarWheels(p, plan);
    p.Prism(plan.Lower, plan.Y0, plan.Y1, Scaled(d.Paint, 0.9));
    const Profile cab = {{6, 8}, {25, 8}, {25, 16}, {13, 16}, {8, 11}};
    std::vector<QColor> edges(cab.size());
    edges[3] = GlassLight;
    p.Prism(cab, 6, 26, d.Paint, edges);
    p.OnSide({{10, 11.2}, {14, 15}, {23.5, 15}, {23.5, 11.2}}, 26.02, Glass);
    p.Box(16, 20, 10, 22, 16, 17.5, Orange);
    // The crane: a black post and a boom leaning back, with its hook.
    p.Box(30, 33, 14, 18, 8, 13, Black);
    p.Prism({{31, 12}, {55, 8.5}, {55.5, 10}, {31.5, 14}}, 14.5, 17.5, d.Accent);
    p.Box(54, 55.5, 15.5, 16.5, 3.5, 9, Black);
    p.OnSide({{27, 4.5}, {55, 4.5}, {55, 7}, {27, 7}}, 26.03, Black);
    for (double x = 28; x < 55; x += 5)
        p.OnSide({{x, 4.5}, {x + 2.5, 4.5}, {x + 2.5, 7}, {x, 7}}, 26.04, d.Paint);
    Nose(p, cab[4], {6, 3}, 6, 26);
    NearWheels(p, plan, d.Paint);
}

// A lorry's frame over its wheels and a short cab ahead of what it carries;
// the far wheels drawn, the near ones left for last.
Plan Lorry(IsoPainter& p, const Design& d, double rear, double frameTop, double rearWheel, double radius)
{
    Plan plan;
    plan.Lower = {{6, 3}, {rear, 3}, {rear, frameTop}, {6, frameTop}};
    plan.FrontWheel = 12.5;
    plan.RearWheel = rearWheel;
    plan.WheelRadius = radius;
    FarWheels(p, plan);
    p.Prism(plan.Lower, plan.Y0, plan.Y1, Bumper);
    // A flat-fronted cab over the engine, its windscreen high up.
    const Profile cab = {{5.5, 6}, {20, 6}, {20, 15.5}, {7, 15.5}, {5.5, 12}};
    std::vector<QColor> edges(cab.size());
    edges[3] = GlassLight;
    p.Prism(cab, 6.5, 25.5, d.Paint, edges);
    p.OnSide({{7, 11.2}, {8.2, 14.6}, {18.5, 14.6}, {18.5, 11.2}}, 25.52, Glass);
    Nose(p, cab[4], cab[0], 6.5, 25.5);
    return plan;
}

void DrawBoxTruck(IsoPainter& p, const Design& d)
{
    const Plan plan = Lorry(p, d, 43, 7, 36, 4.5);
    // A short lorry whose cargo box towers over the cab: the accent, or the paint with bands.
    const QColor box = d.Look == Trim::Roof ? d.Accent : d.Paint;
    p.Box(21, 43, 6, 26, 6, 17.5, box);
    if (d.Look == Trim::Band) {
        p.OnSide({{22, 8.5}, {42, 8.5}, {42, 11.5}, {22, 11.5}}, 26.03, d.Accent);
        p.OnSide({{22, 12.5}, {42, 12.5}, {42, 13.5}, {22, 13.5}}, 26.03, d.Accent);
    }
    TailLamp(p, 43, 26, 6.5, 8);
    NearWheels(p, plan, d.Paint);
}

void DrawTanker(IsoPainter& p, const Design& d)
{
    const Plan plan = Lorry(p, d, 53, 6.5, 44, 4.3);
    // The tank, hooped in the paint of the cab, with a walkway on top.
    Barrel(p, 22, 52, 16, 11.5, 6.2, d.Accent);
    for (double x : {22.0, 36.5, 50.5})
        Barrel(p, x, x + 1.5, 16, 11.5, 6.4, d.Paint, false);
    p.Box(28, 46, 14.5, 17.5, 17.4, 18.2, Bumper);
    if (d.Look == Trim::Band)
        p.OnSide({{23.5, 9.5}, {36.5, 9.5}, {36.5, 12}, {23.5, 12}}, 22.15, d.Paint);
    NearWheels(p, plan, d.Paint);
}

// A farm tractor: a narrow bonnet, and big rear wheels either side of a glass cab.
void DrawTractor(IsoPainter& p, const Design& d)
{
    const double frontX = 12, frontR = 3.8, rearX = 35, rearR = 7;
    const QColor guard = d.Look == Trim::Bonnet ? d.Accent : d.Paint;
    auto rim = [&p](double x, double y, double r, double hub, const QColor& colour) {
        std::vector<V3> points;
        for (int i = 0; i < 16; ++i) {
            const double a = i * 2 * M_PI / 16;
            points.push_back({x + hub * std::cos(a), y, r + hub * std::sin(a)});
        }
        p.Flat(points, colour);
    };
    p.Wheel(frontX, 10, frontR, Tyre, Tyre);
    p.Wheel(rearX, 6.5, rearR, Tyre, Tyre);
    p.Box(27, 43, 7, 10.5, 13.6, 15, guard);
    p.Box(29, 42, 10.5, 21.5, 8, 9.5, d.Paint);
    p.Prism({{29, 9.5}, {42, 9.5}, {42, 18}, {31, 18}}, 10.5, 21.5, Glass, {QColor(), Glass, QColor(), GlassLight});
    p.Box(28.5, 43, 10, 22, 18, 19.5, d.Look == Trim::Roof ? d.Accent : d.Paint); // cab roof
    p.Box(6, 30, 11.5, 20.5, 3, 11, d.Paint); // bonnet over the engine
    p.OnStrip({6, 11}, {6, 3}, 0.15, 0.85, 13, 19, Grille);
    p.OnStrip({6, 11}, {6, 3}, 0.1, 0.3, 11.8, 13.6, HeadLight, false);
    p.OnStrip({6, 11}, {6, 3}, 0.1, 0.3, 18.4, 20.2, HeadLight, false);
    if (d.Look == Trim::Band)
        p.OnSide({{6.5, 5}, {29.5, 5}, {29.5, 8}, {6.5, 8}}, 20.53, d.Accent);
    p.Box(19, 20.5, 14, 15.5, 11, 16, Black); // exhaust
    p.Box(27, 43, 22, 25.5, 13.6, 15, guard);
    p.Wheel(frontX, 22, frontR, Tyre, Tyre);
    rim(frontX, 22.02, frontR, 2.2, d.Accent);
    p.Wheel(rearX, 25.6, rearR, Tyre, Tyre);
    rim(rearX, 25.62, rearR, 4.4, d.Accent);
    rim(rearX, 25.64, rearR, 1.4, Scaled(d.Accent, 0.6));
}

// Two rails along the roof from x0 to x1, inset from the sides, standing on z.
void RoofRails(IsoPainter& p, const Plan& plan, double x0, double x1, double inset, double z, const QColor& colour)
{
    p.Box(x0, x1, plan.Y0 + inset, plan.Y0 + inset + 1.2, z, z + 1, colour);
    p.Box(x0, x1, plan.Y1 - inset - 1.2, plan.Y1 - inset, z, z + 1, colour);
}

Design Painted(int carId)
{
    const CarDesign& d = DesignOf(carId);
    return {d.Kind, ToQColor(d.Paint), ToQColor(d.Accent), d.Look, d.Name};
}

} // namespace

void PaintCar(QImage& image, QPointF origin, int carId)
{
    const Design d = Painted(carId);
    IsoPainter p(image, origin);
    switch (d.Kind) {
    case Style::Saloon: DrawPlan(p, SaloonPlan(), d); break;
    case Style::Hatchback: DrawPlan(p, HatchbackPlan(), d); break;
    case Style::Estate: {
        // A long flat roof and a roof box on its rails, in the colour of the roof: the
        // outline of a car for a family's luggage.
        const Plan plan = EstatePlan();
        DrawPlan(p, plan, d);
        RoofRails(p, plan, 25, 48, 2.6, 15.8, Black);
        p.Prism({{21, 16.8}, {43, 16.4}, {42.5, 18.6}, {39, 20.2}, {24, 21}}, plan.Y0 + 2.5, plan.Y1 - 2.5,
                d.Look == Trim::Roof ? d.Accent : d.Paint);
        break;
    }
    case Style::Sports: DrawPlan(p, SportsPlan(), d); break;
    case Style::Suv: {
        const Plan plan = SuvPlan();
        DrawPlan(p, plan, d);
        RoofRails(p, plan, 24, 44, 1.6, 16.8, Bumper);
        break;
    }
    case Style::CityCar: DrawPlan(p, CityCarPlan(), d); break;
    case Style::Limousine: {
        const Plan plan = LimousinePlan();
        DrawPlan(p, plan, d);
        p.OnSide({{5, 5.2}, {59, 5.2}, {59, 5.9}, {5, 5.9}}, plan.Y1 + 0.05, Silver);
        break;
    }
    case Style::Convertible: DrawConvertible(p, d); break;
    case Style::Taxi: DrawTaxi(p, d); break;
    case Style::PoliceCar:
    case Style::Police4x4: DrawPolice(p, d); break;
    case Style::Camper: DrawCamper(p, d); break;
    case Style::Van:
    case Style::Ambulance:
    case Style::IceCream: DrawVan(p, d, d.Kind); break;
    case Style::Pickup: DrawPickup(p, d); break;
    case Style::Bus: DrawBus(p, d); break;
    case Style::Racer: DrawRacer(p, d); break;
    case Style::Jeep: DrawJeep(p, d); break;
    case Style::FireEngine: DrawFireEngine(p, d); break;
    case Style::TowTruck: DrawTowTruck(p, d); break;
    case Style::BoxTruck: DrawBoxTruck(p, d); break;
    case Style::Tanker: DrawTanker(p, d); break;
    case Style::Tractor: DrawTractor(p, d); break;
    }
}

QImage CarPicture(int carId)
{
    // Drawn on a larger canvas first, so a part that strays outside the car
    // rectangle shows up as an error instead of being cut off silently.
    const int margin = 16;
    QImage big(CarWidth + 2 * margin, CarHeight + 2 * margin, QImage::Format_ARGB32);
    big.fill(Qt::transparent);
    PaintCar(big, QPointF(CarOriginX + margin, CarOriginY + margin), carId);
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            if (qAlpha(big.pixel(x, y)) != 0 &&
                (x < margin || y < margin || x >= margin + CarWidth || y >= margin + CarHeight))
                throw std::runtime_error(std::string("car ") + std::to_string(carId) + " (" + CarName(carId) +
                                         ") leaves its rectangle at " + std::to_string(x - margin) + "," +
                                         std::to_string(y - margin));
    QImage image = big.copy(margin, margin, CarWidth, CarHeight);
    HardenAlpha(image, TransparentKey);
    OutlineSilhouette(image, 0.42);
    HardenAlpha(image, TransparentKey);
    return image;
}

const char* CarName(int carId) { return DesignOf(carId).Name; }
