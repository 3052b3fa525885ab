#include "CarArt.h"

#include "ArtColours.h"
#include "Iso.h"
#include "PixelFont.h"

#include <array>
#include <cmath>
#include <stdexcept>

namespace {

enum class Body {
    Saloon, Hatchback, Estate, Sports, Convertible, Suv, Van, Camper, Pickup, Bus, Taxi, Police,
    CityCar, Limousine, Racer, Jeep, Ambulance, FireEngine, IceCream, TowTruck, BoxTruck,
};

enum class Mark { None, BonnetStripes, SideStripe, TwoTone, Number, Checker, Wood };

struct Design {
    Body Kind;
    QColor Colour;
    QColor Second;
    Mark Marking;
    int Number;
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

// Cars 1 … 82. No two share body and colour, and bodies that look alike get
// colours far apart, so that a player tells every pair apart at a glance.
const std::array<Design, CarCount> Designs = {{
    {Body::Saloon, Red, White, Mark::None, 0, "red saloon"},                       // 1
    {Body::Hatchback, Blue, White, Mark::None, 0, "blue hatchback"},               // 2
    {Body::Sports, Yellow, Black, Mark::BonnetStripes, 0, "yellow sports car"},    // 3
    {Body::Van, White, Blue, Mark::SideStripe, 0, "white van"},                    // 4
    {Body::Estate, Olive, White, Mark::Wood, 0, "olive woody estate"},                   // 5
    {Body::Bus, Yellow, Black, Mark::None, 0, "yellow bus"},                       // 6
    {Body::Pickup, Red, White, Mark::None, 0, "red pickup"},                       // 7
    {Body::Taxi, Yellow, Black, Mark::Checker, 0, "yellow taxi"},                  // 8
    {Body::CityCar, Pink, White, Mark::None, 0, "pink city car"},                  // 9
    {Body::Suv, Black, Silver, Mark::None, 0, "black SUV"},                        // 10
    {Body::Racer, Red, White, Mark::Number, 1, "red racer 1"},                     // 11
    {Body::Convertible, SkyBlue, White, Mark::None, 0, "sky blue convertible"},    // 12
    {Body::Police, White, Blue, Mark::None, 0, "police car"},                // 13
    {Body::Saloon, Silver, Black, Mark::None, 0, "silver saloon"},                 // 14
    {Body::Hatchback, Orange, Black, Mark::None, 0, "orange hatchback"},           // 15
    {Body::Sports, Red, White, Mark::BonnetStripes, 0, "red sports car"},          // 16
    {Body::Camper, Teal, White, Mark::TwoTone, 0, "teal camper"},                  // 17
    {Body::Ambulance, White, Red, Mark::TwoTone, 0, "ambulance"},               // 18
    {Body::Jeep, Olive, Black, Mark::None, 0, "olive jeep"},                       // 19
    {Body::Estate, Maroon, White, Mark::Wood, 0, "maroon woody estate"},                 // 20
    {Body::Limousine, Black, Silver, Mark::None, 0, "black limousine"},            // 21
    {Body::Saloon, Blue, White, Mark::SideStripe, 0, "blue saloon"},               // 22
    {Body::BoxTruck, Orange, White, Mark::None, 0, "orange box lorry"},            // 23
    {Body::FireEngine, Red, Silver, Mark::None, 0, "fire engine"},                 // 24
    {Body::Hatchback, Lime, Black, Mark::None, 0, "lime hatchback"},               // 25
    {Body::Racer, Blue, Yellow, Mark::Number, 2, "blue racer 2"},                  // 26
    {Body::Suv, White, Black, Mark::None, 0, "white SUV"},                         // 27
    {Body::Pickup, Blue, White, Mark::None, 0, "blue pickup"},                     // 28
    {Body::CityCar, Yellow, Black, Mark::None, 0, "yellow city car"},              // 29
    {Body::IceCream, White, Pink, Mark::TwoTone, 0, "ice cream van"},              // 30
    {Body::Sports, Black, Orange, Mark::BonnetStripes, 0, "black sports car"},     // 31
    {Body::Van, Red, White, Mark::None, 0, "red van"},                             // 32
    {Body::Limousine, Purple, White, Mark::None, 0, "purple limousine"},                 // 33
    {Body::TowTruck, Yellow, Black, Mark::None, 0, "tow truck"},                   // 34
    {Body::Convertible, Red, White, Mark::None, 0, "red convertible"},             // 35
    {Body::Estate, Lime, Black, Mark::Wood, 0, "lime woody estate"},                 // 36
    {Body::Bus, Blue, White, Mark::None, 0, "blue bus"},                           // 37
    {Body::Taxi, Black, Yellow, Mark::None, 0, "black cab"},                       // 38
    {Body::Racer, Green, White, Mark::Number, 3, "green racer 3"},                 // 39
    {Body::Hatchback, White, Red, Mark::BonnetStripes, 0, "white hatchback"},      // 40
    {Body::Suv, Red, Black, Mark::None, 0, "red SUV"},                             // 41
    {Body::Jeep, Yellow, Black, Mark::None, 0, "yellow jeep"},                     // 42
    {Body::CityCar, SkyBlue, White, Mark::None, 0, "sky blue city car"},           // 43
    {Body::Limousine, White, Silver, Mark::None, 0, "white limousine"},            // 44
    {Body::Sports, Blue, White, Mark::BonnetStripes, 0, "blue sports car"},        // 45
    {Body::Camper, Orange, White, Mark::TwoTone, 0, "orange camper"},              // 46
    {Body::Saloon, Green, White, Mark::None, 0, "green saloon"},                   // 47
    {Body::Pickup, White, Black, Mark::None, 0, "white pickup"},                  // 48
    {Body::Van, Yellow, Black, Mark::SideStripe, 0, "yellow van"},                 // 49
    {Body::Convertible, Yellow, Black, Mark::None, 0, "yellow convertible"},       // 50
    {Body::Hatchback, Purple, White, Mark::None, 0, "purple hatchback"},           // 51
    {Body::Estate, Pink, White, Mark::Wood, 0, "pink woody estate"},                     // 52
    {Body::Racer, Yellow, Black, Mark::Number, 4, "yellow racer 4"},               // 53
    {Body::Suv, Green, White, Mark::None, 0, "green SUV"},                         // 54
    {Body::BoxTruck, Blue, White, Mark::None, 0, "blue box lorry"},                // 55
    {Body::Saloon, Teal, White, Mark::None, 0, "teal saloon"},                  // 56
    {Body::CityCar, Green, White, Mark::None, 0, "green city car"},                  // 57
    {Body::Sports, Silver, Red, Mark::BonnetStripes, 0, "silver sports car"},      // 58
    {Body::Jeep, White, Black, Mark::None, 0, "white jeep"},                    // 59
    {Body::Hatchback, Red, White, Mark::None, 0, "red hatchback"},                 // 60
    {Body::Pickup, Orange, Black, Mark::None, 0, "orange pickup"},                 // 61
    {Body::Van, Blue, White, Mark::None, 0, "blue van"},                           // 62
    {Body::Police, Blue, Yellow, Mark::None, 0, "police 4x4"},            // 63
    {Body::Convertible, Black, Red, Mark::None, 0, "black convertible"},           // 64
    {Body::Suv, SkyBlue, White, Mark::None, 0, "sky blue SUV"},                    // 65
    {Body::Estate, Orange, Black, Mark::Wood, 0, "orange woody estate"},                 // 66
    {Body::Racer, White, Red, Mark::Number, 5, "white racer 5"},                   // 67
    {Body::Saloon, Yellow, Black, Mark::TwoTone, 0, "yellow two-tone saloon"},     // 68
    {Body::Camper, Red, White, Mark::TwoTone, 0, "red camper"},                    // 69
    {Body::Jeep, SkyBlue, White, Mark::None, 0, "sky blue jeep"},                  // 70
    {Body::Bus, Red, White, Mark::None, 0, "red bus"},                             // 71
    {Body::Hatchback, Black, Yellow, Mark::BonnetStripes, 0, "black hatchback"},   // 72
    {Body::CityCar, Red, White, Mark::None, 0, "red city car"},              // 73
    {Body::Sports, Green, Yellow, Mark::BonnetStripes, 0, "green sports car"},     // 74
    {Body::Estate, Purple, White, Mark::Wood, 0, "purple woody estate"},                 // 75
    {Body::Pickup, Green, White, Mark::None, 0, "green pickup"},                   // 76
    {Body::Saloon, SkyBlue, White, Mark::Number, 7, "sky blue saloon 7"},          // 77
    {Body::Van, Black, Yellow, Mark::SideStripe, 0, "black van"},                  // 78
    {Body::Suv, Yellow, Black, Mark::None, 0, "yellow SUV"},                       // 79
    {Body::Convertible, White, Blue, Mark::None, 0, "white convertible"},          // 80
    {Body::BoxTruck, White, Red, Mark::SideStripe, 0, "white box lorry"},          // 81
    {Body::CityCar, Purple, White, Mark::None, 0, "purple city car"},              // 82
}};

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
    p.Lower = {{6, 2.5}, {58, 2.5}, {58, 8}, {57, 9}, {12, 9}, {6, 7.5}};
    p.NoseEdge = 5;
    p.Cabin = {{17, 9}, {57, 9}, {54, 12.5}, {25, 15}};
    p.ScreenEdge = 3;
    p.FrontWheel = 15;
    p.RearWheel = 48;
    p.Pillars = {33.5, 46};
    return p;
}

Plan SportsPlan()
{
    Plan p;
    p.Lower = {{4, 2}, {60, 2}, {60, 7}, {58, 8}, {12, 8}, {4, 5.5}};
    p.NoseEdge = 5;
    p.Y0 = 7;
    p.Y1 = 25;
    p.Cabin = {{23, 8}, {51, 8}, {40, 12.5}, {31, 12.5}};
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

void ArchAndWheel(IsoPainter& p, double x, double y, double r, const QColor& body)
{
    std::vector<V3> arch;
    for (int i = 0; i <= 10; ++i) {
        const double a = i * M_PI / 10;
        arch.push_back({x + (r + 1) * std::cos(a), y, r + (r + 1) * std::sin(a)});
    }
    p.Flat(arch, Scaled(body, 0.28));
    p.Wheel(x, y + 0.01, r, Tyre, Hub);
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

// Strips along the top of every upward face of a profile, from y0 to y1 across.
void TopBands(IsoPainter& p, const Profile& profile, double y0, double y1, const QColor& colour)
{
    const size_t n = profile.size();
    for (size_t i = 0; i < n; ++i) {
        const QPointF a = profile[i];
        const QPointF b = profile[(i + 1) % n];
        if (b.x() < a.x() && std::abs(b.y() - a.y()) < (a.x() - b.x()) * 1.2)
            p.OnStrip(a, b, 0, 1, y0, y1, colour);
    }
}

void Stripes(IsoPainter& p, const Profile& profile, double mid, const QColor& colour)
{
    TopBands(p, profile, mid - 3.4, mid - 1.2, colour);
    TopBands(p, profile, mid + 1.2, mid + 3.4, colour);
}

// A white roundel with a racing number, drawn straight on the screen.
void NumberDisc(IsoPainter& p, const V3& centre, int number, const QColor& ink)
{
    const QPointF c = p.Project(centre);
    QPainter& painter = p.Painter();
    painter.setBrush(QColor(250, 250, 250));
    painter.drawEllipse(QRectF(std::round(c.x()) - 4, std::round(c.y()) - 4, 8, 8));
    DrawDigits(painter, QPoint(static_cast<int>(std::round(c.x())) - 1, static_cast<int>(std::round(c.y())) - 2), number, ink);
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

void DrawPlan(IsoPainter& p, const Plan& plan, const Design& d)
{
    const QColor cabinColour = d.Marking == Mark::TwoTone ? d.Second : d.Colour;
    FarWheels(p, plan);
    p.Prism(plan.Lower, plan.Y0, plan.Y1, d.Colour);
    if (d.Marking == Mark::BonnetStripes)
        Stripes(p, plan.Lower, Mid(plan), d.Second);
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
        if (d.Marking == Mark::BonnetStripes)
            TopBands(p, {plan.Cabin[2], plan.Cabin[3]}, Mid(plan) - 3.4, Mid(plan) - 1.2, d.Second),
                TopBands(p, {plan.Cabin[2], plan.Cabin[3]}, Mid(plan) + 1.2, Mid(plan) + 3.4, d.Second);
    }
    const QPointF noseTop = plan.Lower[plan.NoseEdge];
    const QPointF noseBottom = plan.Lower[(plan.NoseEdge + 1) % plan.Lower.size()];
    Nose(p, noseTop, noseBottom, plan.Y0, plan.Y1);
    double rear = 0;
    for (const QPointF& q : plan.Lower)
        rear = std::max(rear, q.x());
    const double belt = plan.Cabin.empty() ? 8 : plan.Cabin[0].y();
    TailLamp(p, rear, plan.Y1, belt - 2.6, belt - 1.2);
    if (d.Marking == Mark::Wood) {
        // Timber side panels in a pale frame, the old shooting-brake look.
        const double x0 = plan.Lower[0].x() + 1.5, x1 = rear - 1.5;
        p.OnSide({{x0, 3.2}, {x1, 3.2}, {x1, belt - 0.6}, {x0, belt - 0.6}}, plan.Y1 + 0.03, QColor(232, 214, 170));
        p.OnSide({{x0 + 1, 4}, {x1 - 1, 4}, {x1 - 1, belt - 1.4}, {x0 + 1, belt - 1.4}}, plan.Y1 + 0.04, QColor(150, 92, 44));
    }
    if (d.Marking == Mark::SideStripe)
        p.OnSide({{plan.Lower[0].x() + 1.5, 4.6}, {rear - 2.8, 4.6}, {rear - 2.8, 6.2}, {plan.Lower[0].x() + 1.5, 6.2}},
                 plan.Y1 + 0.03, d.Second);
    NearWheels(p, plan, d.Colour);
    if (d.Marking == Mark::Number)
        NumberDisc(p, {(plan.FrontWheel + plan.RearWheel) / 2, plan.Y1, 5.6}, d.Number, Black);
}

void DrawConvertible(IsoPainter& p, const Design& d)
{
    Plan plan = SaloonPlan();
    plan.Cabin.clear();
    FarWheels(p, plan);
    p.Prism(plan.Lower, plan.Y0, plan.Y1, d.Colour);
    // The open cockpit: a dark tub with two rows of seats.
    p.Flat({{24, 8.5, 9}, {50, 8.5, 9}, {50, 23.5, 9}, {24, 23.5, 9}}, Scaled(Seat, 0.55));
    for (double x : {29.0, 40.0}) {
        p.Box(x, x + 5, 9.5, 15, 9, 11.5, Seat);
        p.Box(x + 4, x + 5.5, 9.5, 15, 11.5, 14, Seat);
        p.Box(x, x + 5, 17, 22.5, 9, 11.5, Seat);
        p.Box(x + 4, x + 5.5, 17, 22.5, 11.5, 14, Seat);
    }
    // A folded hood behind the seats in the second colour.
    p.Prism({{49, 9}, {55, 9}, {54, 11}, {50, 11}}, 8, 24, d.Second);
    // Windscreen frame standing up from the scuttle.
    p.Prism({{20.5, 9}, {22, 9}, {25, 14}, {23.5, 14}}, 8, 24, GlassLight, {QColor(), GlassLight, GlassLight, GlassLight});
    p.Box(23.6, 25.2, 8, 24, 14, 14.8, d.Colour);
    Nose(p, plan.Lower[5], plan.Lower[0], plan.Y0, plan.Y1);
    TailLamp(p, 58, plan.Y1, 6.4, 7.8);
    NearWheels(p, plan, d.Colour);
}

void DrawTaxi(IsoPainter& p, const Design& d)
{
    Plan plan = SaloonPlan();
    DrawPlan(p, plan, d);
    const double mid = Mid(plan);
    if (d.Marking == Mark::Checker)
        Checkers(p, 8, 56, plan.Y1, 3.4, Black, White, 3);
    const QColor sign = d.Colour == Black ? Yellow : (d.Colour == White ? Orange : White);
    p.Box(28, 36, mid - 5, mid + 5, 15, 18.5, sign);
}

// Police cars wear blue and yellow squares down the whole side, so they read
// at once even next to a taxi or a saloon of the same paint.
void DrawPolice(IsoPainter& p, const Design& d)
{
    const bool fourByFour = d.Colour != White;
    const Plan plan = fourByFour ? SuvPlan() : SaloonPlan();
    DrawPlan(p, plan, d);
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
    p.Box(x, x + 4, mid - 6, mid, roof, roof + 2, QColor(30, 90, 255));
    p.Box(x, x + 4, mid, mid + 6, roof, roof + 2, QColor(240, 30, 30));
}

// Tall one-box bodies: van, camper, ambulance, ice cream van.
void DrawVan(IsoPainter& p, const Design& d, Body kind)
{
    Plan plan;
    plan.Lower = {{8, 2.5}, {47, 2.5}, {47, 14}, {45, 16}, {20, 16}, {14, 10}, {8, 9}};
    plan.FrontWheel = 15;
    plan.RearWheel = 40;
    plan.WheelRadius = 4.2;
    if (kind == Body::Camper)
        plan.Lower = {{9, 2.5}, {46, 2.5}, {46, 14}, {44, 16}, {14, 16}, {10, 12.5}, {9, 8}};
    const QColor upper = d.Marking == Mark::TwoTone ? d.Second : d.Colour;
    FarWheels(p, plan);
    std::vector<QColor> edges(plan.Lower.size());
    edges[4] = GlassLight; // windscreen
    p.Prism(plan.Lower, plan.Y0, plan.Y1, d.Colour, edges);
    if (d.Marking == Mark::TwoTone) {
        // The upper half in the second colour, roof and side alike.
        p.OnSide({{plan.Lower[6].x() + 1.2, 9.5}, {46.3, 9.5}, {46.3, 13.8}, {44, 15.9}, {14, 15.9}, {10.2, 12.4}}, plan.Y1 + 0.01,
                 upper);
        if (kind != Body::Camper)
            TopBands(p, {plan.Lower[3], plan.Lower[4]}, plan.Y0, plan.Y1, upper);
    }
    const QPointF sTop = plan.Lower[4], sBottom = plan.Lower[5];
    p.OnStrip(sTop, sBottom, 0, 1, plan.Y0, plan.Y0 + 1, upper);
    p.OnStrip(sTop, sBottom, 0, 1, plan.Y1 - 1, plan.Y1, upper);
    p.OnStrip(sTop, sBottom, 0.3, 0.6, plan.Y0 + 4, plan.Y0 + 7, QColor(200, 222, 238), false);
    // Cab door window, and passenger windows for the camper.
    const double sx = plan.Lower[5].x();
    p.OnSide({{sx + 1.5, 10.5}, {plan.Lower[4].x() + 0.5, 15}, {26, 15}, {26, 10.5}}, plan.Y1 + 0.02, Glass);
    if (kind == Body::Camper)
        for (double x : {28.0, 35.0})
            p.OnSide({{x, 10.5}, {x + 5.5, 10.5}, {x + 5.5, 15}, {x, 15}}, plan.Y1 + 0.02, Glass);
    const QPointF noseTop = plan.Lower[6], noseBottom = plan.Lower[0];
    Nose(p, noseTop, noseBottom, plan.Y0, plan.Y1);
    TailLamp(p, plan.Lower[1].x(), plan.Y1, 7, 9);
    if (d.Marking == Mark::SideStripe)
        p.OnSide({{27.5, 6.5}, {46, 6.5}, {46, 8.8}, {27.5, 8.8}}, plan.Y1 + 0.03, d.Second);
    if (kind == Body::Ambulance) {
        // Red cross on the side and a blue lamp bar over the windscreen.
        p.OnSide({{27.5, 9}, {46.3, 9}, {46.3, 13.8}, {44, 15.9}, {27.5, 15.9}}, plan.Y1 + 0.04, White);
        p.OnSide({{27.5, 5.5}, {46, 5.5}, {46, 7.5}, {27.5, 7.5}}, plan.Y1 + 0.04, Red);
        p.OnSide({{34.5, 9.5}, {37.5, 9.5}, {37.5, 15}, {34.5, 15}}, plan.Y1 + 0.05, Red);
        p.OnSide({{33, 11}, {39, 11}, {39, 13.5}, {33, 13.5}}, plan.Y1 + 0.05, Red);
        p.Box(21, 24, 9, 23, 16, 18, QColor(40, 110, 255));
    }
    if (kind == Body::IceCream) {
        // A cone on the roof over the cab.
        p.Prism({{24, 16}, {27, 16}, {28.5, 20}, {22.5, 20}}, 14, 18, QColor(222, 170, 90));
        p.Disc(25.5, 16, 20.3, 2.8, White);
        p.Disc(25.5, 16, 21.3, 1.8, Pink);
        p.OnSide({{28, 10}, {44, 10}, {44, 14}, {28, 14}}, plan.Y1 + 0.02, QColor(70, 40, 30));
        p.OnSide({{28, 9}, {44, 9}, {44, 10}, {28, 10}}, plan.Y1 + 0.03, White);
    }
    NearWheels(p, plan, d.Colour);
}

void DrawPickup(IsoPainter& p, const Design& d)
{
    Plan plan;
    plan.Lower = {{6, 3}, {57, 3}, {57, 8}, {12, 8.5}, {6, 8}};
    plan.FrontWheel = 15;
    plan.RearWheel = 47;
    plan.WheelRadius = 4.6;
    FarWheels(p, plan);
    p.Prism(plan.Lower, plan.Y0, plan.Y1, d.Colour);
    // The load bed: dark floor inside three low walls.
    p.Flat({{35, 7.5, 8.1}, {55.5, 7.5, 8.1}, {55.5, 24.5, 8.1}, {35, 24.5, 8.1}}, Scaled(d.Colour, 0.35));
    p.Box(34, 57, 6, 7.5, 8, 10.5, d.Colour);
    p.Box(55.5, 57, 6, 26, 8, 10.5, d.Colour);
    const Profile cab = {{16, 8.3}, {34.5, 8.3}, {34.5, 15.5}, {23, 15.5}};
    std::vector<QColor> edges(cab.size());
    edges[3] = GlassLight;
    p.Prism(cab, 7, 25, d.Colour, edges);
    p.OnStrip(cab[3], cab[0], 0.25, 0.5, 11, 13.5, QColor(200, 222, 238), false);
    SideGlass(p, {{17, 9.8}, {34, 9.8}, {34, 15.5}, {23, 15.5}}, 25, {}, d.Colour);
    p.Box(34, 57, 24.5, 26, 8, 10.5, d.Colour);
    p.Box(35, 37, 9, 23, 15.5, 16.5, d.Second); // roll bar lamp rack
    Nose(p, plan.Lower[4], plan.Lower[0], plan.Y0, plan.Y1);
    TailLamp(p, 57, plan.Y1, 8.2, 10.2);
    NearWheels(p, plan, d.Colour);
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
    std::vector<QColor> edges(plan.Lower.size());
    p.Prism(plan.Lower, plan.Y0, plan.Y1, d.Colour, edges);
    // White roof and a band of windows down the side.
    TopBands(p, {plan.Lower[3], plan.Lower[4]}, plan.Y0 + 0.5, plan.Y1 - 0.5, Mix(d.Colour, White, 0.55));
    p.OnSide({{4, 7}, {54.5, 7}, {54.5, 11.5}, {4, 11.5}}, plan.Y1 + 0.02, Glass);
    for (double x = 10; x < 54; x += 6.5)
        p.OnSide({{x, 7}, {x + 1.1, 7}, {x + 1.1, 11.5}, {x, 11.5}}, plan.Y1 + 0.04, d.Colour);
    p.OnSide({{3.5, 4.2}, {55.5, 4.2}, {55.5, 5.4}, {3.5, 5.4}}, plan.Y1 + 0.03, d.Second);
    // Big windscreen and the destination board on the flat front.
    const QPointF top = plan.Lower[5], bottom = plan.Lower[0];
    p.OnStrip(top, bottom, 0.0, 0.13, plan.Y0 + 1, plan.Y1 - 1, QColor(30, 30, 30), false);
    p.OnStrip(top, bottom, 0.02, 0.11, plan.Y0 + 4, plan.Y1 - 4, QColor(255, 190, 40), false);
    p.OnStrip(top, bottom, 0.15, 0.5, plan.Y0 + 1, plan.Y1 - 1, GlassLight);
    p.OnStrip(top, bottom, 0.62, 0.78, plan.Y0 + 0.8, plan.Y0 + 3.5, HeadLight, false);
    p.OnStrip(top, bottom, 0.62, 0.78, plan.Y1 - 3.5, plan.Y1 - 0.8, HeadLight, false);
    p.OnStrip(top, bottom, 0.85, 1.0, plan.Y0, plan.Y1, Bumper);
    NearWheels(p, plan, d.Colour);
}

void DrawRacer(IsoPainter& p, const Design& d)
{
    // Open wheels on stub axles, a slim hull, a cockpit and a rear wing.
    const double y0 = 11, y1 = 21;
    p.Wheel(14, 7.5, 4.3, Tyre, Tyre);
    p.Wheel(48, 7.5, 4.8, Tyre, Tyre);
    p.Box(12, 16, 7.5, 24.5, 3.5, 4.8, Bumper);
    p.Box(46, 50, 7.5, 24.5, 3.5, 4.8, Bumper);
    p.Box(4, 9, 8, 24, 1.5, 3, d.Second); // front wing
    p.Prism({{5, 2}, {58, 2}, {58, 6}, {44, 8}, {22, 6.5}, {5, 4.5}}, y0, y1, d.Colour);
    p.Flat({{30, 13, 7.3}, {38, 13, 7.8}, {38, 19, 7.8}, {30, 19, 7.3}}, QColor(20, 20, 20));
    p.Disc(35, 16, 8.6, 2.2, d.Second); // helmet
    p.Box(40, 46, 12.5, 19.5, 7.5, 10.5, d.Colour); // air box
    p.Box(55, 57, 15, 17, 6, 8, Black);
    p.Box(52, 59, 6.5, 25.5, 8, 9.5, d.Second); // rear wing
    NumberDisc(p, {27, 21, 4.2}, d.Number, Black);
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
    FarWheels(p, plan);
    p.Prism(plan.Lower, plan.Y0, plan.Y1, d.Colour);
    p.Flat({{24, 8.5, 11.05}, {48.5, 8.5, 11.05}, {48.5, 23.5, 11.05}, {24, 23.5, 11.05}}, Scaled(d.Colour, 0.35));
    for (double x : {30.0, 40.0}) {
        p.Box(x, x + 5, 9, 15, 11, 13, Seat);
        p.Box(x, x + 5, 17, 23, 11, 13, Seat);
    }
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
    NearWheels(p, plan, d.Colour);
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
    p.Prism(plan.Lower, plan.Y0, plan.Y1, d.Colour);
    const Profile cab = {{4, 9.5}, {18, 9.5}, {18, 16}, {6, 16}, {4, 13}};
    std::vector<QColor> edges(cab.size());
    edges[4] = GlassLight;
    p.Prism(cab, 7, 25, d.Colour, edges);
    p.OnSide({{6, 11.5}, {11, 11.5}, {11, 15}, {7, 15}, {6, 13.5}}, 25.02, Glass);
    p.OnSide({{12, 11.5}, {16.5, 11.5}, {16.5, 15}, {12, 15}}, 25.02, Glass);
    p.Box(8, 14, 11, 21, 16, 17.5, QColor(40, 110, 255));
    // The ladder on its rack, rails and rungs.
    p.Box(20, 56, 10, 11.5, 9.5, 11, d.Second);
    p.Box(20, 56, 20.5, 22, 9.5, 11, d.Second);
    for (double x = 22; x < 56; x += 4)
        p.Box(x, x + 1, 11.5, 20.5, 10, 10.8, d.Second);
    p.OnSide({{19, 4}, {59, 4}, {59, 5.2}, {19, 5.2}}, 25.03, Silver);
    for (double x = 22; x < 58; x += 9)
        p.OnSide({{x, 6}, {x + 7, 6}, {x + 7, 8.8}, {x, 8.8}}, 25.03, Scaled(d.Colour, 0.8));
    const QPointF top = plan.Lower[3], bottom = plan.Lower[0];
    Nose(p, top, bottom, plan.Y0, plan.Y1);
    NearWheels(p, plan, d.Colour);
}

void DrawTowTruck(IsoPainter& p, const Design& d)
{
    Plan plan;
    plan.Lower = {{6, 3}, {56, 3}, {56, 8}, {6, 8}};
    plan.FrontWheel = 14;
    plan.RearWheel = 46;
    plan.WheelRadius = 4.6;
    FarWheels(p, plan);
    p.Prism(plan.Lower, plan.Y0, plan.Y1, Scaled(d.Colour, 0.9));
    const Profile cab = {{6, 8}, {25, 8}, {25, 16}, {13, 16}, {8, 11}};
    std::vector<QColor> edges(cab.size());
    edges[3] = GlassLight;
    p.Prism(cab, 6, 26, d.Colour, edges);
    p.OnSide({{10, 11.2}, {14, 15}, {23.5, 15}, {23.5, 11.2}}, 26.02, Glass);
    p.Box(16, 20, 10, 22, 16, 17.5, Orange);
    // The crane: a black post and a boom leaning back, with its hook.
    p.Box(30, 33, 14, 18, 8, 13, Black);
    p.Prism({{31, 12}, {55, 8.5}, {55.5, 10}, {31.5, 14}}, 14.5, 17.5, d.Second);
    p.Box(54, 55.5, 15.5, 16.5, 3.5, 9, Black);
    p.OnSide({{27, 4.5}, {55, 4.5}, {55, 7}, {27, 7}}, 26.03, Black);
    for (double x = 28; x < 55; x += 5)
        p.OnSide({{x, 4.5}, {x + 2.5, 4.5}, {x + 2.5, 7}, {x, 7}}, 26.04, d.Colour);
    Nose(p, cab[4], {6, 3}, 6, 26);
    NearWheels(p, plan, d.Colour);
}

void DrawBoxTruck(IsoPainter& p, const Design& d)
{
    Plan plan;
    plan.Lower = {{6, 3}, {47, 3}, {47, 7}, {6, 7}};
    plan.FrontWheel = 12.5;
    plan.RearWheel = 40;
    plan.WheelRadius = 4.5;
    FarWheels(p, plan);
    p.Prism(plan.Lower, plan.Y0, plan.Y1, Bumper);
    const Profile cab = {{6, 7}, {20, 7}, {20, 14}, {10, 14}, {6, 10}};
    std::vector<QColor> edges(cab.size());
    edges[3] = GlassLight;
    p.Prism(cab, 6.5, 25.5, d.Colour, edges);
    p.OnSide({{8.5, 10.5}, {10.8, 13.2}, {18.5, 13.2}, {18.5, 10.5}}, 25.52, Glass);
    // The cargo box towers over the cab; its side carries the firm's colours.
    p.Box(21, 46, 6, 26, 6, 16, d.Marking == Mark::SideStripe ? White : d.Colour);
    const QColor band = d.Second;
    p.OnSide({{22, 8.5}, {45, 8.5}, {45, 11.5}, {22, 11.5}}, 26.03, band);
    p.OnSide({{22, 12.5}, {45, 12.5}, {45, 13.5}, {22, 13.5}}, 26.03, band);
    Nose(p, cab[4], cab[0], 6.5, 25.5);
    TailLamp(p, 47, 26, 6.5, 8);
    NearWheels(p, plan, d.Colour);
}

const Design& DesignOf(int carId)
{
    if (carId < 1 || carId > CarCount)
        throw std::out_of_range("no such car");
    return Designs[static_cast<size_t>(carId - 1)];
}

} // namespace

void PaintCar(QImage& image, QPointF origin, int carId)
{
    const Design& d = DesignOf(carId);
    IsoPainter p(image, origin);
    switch (d.Kind) {
    case Body::Saloon: DrawPlan(p, SaloonPlan(), d); break;
    case Body::Hatchback: DrawPlan(p, HatchbackPlan(), d); break;
    case Body::Estate: DrawPlan(p, EstatePlan(), d); break;
    case Body::Sports: DrawPlan(p, SportsPlan(), d); break;
    case Body::Suv: {
        const Plan plan = SuvPlan();
        DrawPlan(p, plan, d);
        // Roof rails.
        p.Box(24, 44, plan.Y0 + 1.6, plan.Y0 + 2.8, 16.8, 17.8, d.Second);
        p.Box(24, 44, plan.Y1 - 2.8, plan.Y1 - 1.6, 16.8, 17.8, d.Second);
        break;
    }
    case Body::CityCar: DrawPlan(p, CityCarPlan(), d); break;
    case Body::Limousine: {
        const Plan plan = LimousinePlan();
        DrawPlan(p, plan, d);
        p.OnSide({{5, 5.2}, {59, 5.2}, {59, 5.9}, {5, 5.9}}, plan.Y1 + 0.03, Silver);
        break;
    }
    case Body::Convertible: DrawConvertible(p, d); break;
    case Body::Taxi: DrawTaxi(p, d); break;
    case Body::Police: DrawPolice(p, d); break;
    case Body::Van:
    case Body::Camper:
    case Body::Ambulance:
    case Body::IceCream: DrawVan(p, d, d.Kind); break;
    case Body::Pickup: DrawPickup(p, d); break;
    case Body::Bus: DrawBus(p, d); break;
    case Body::Racer: DrawRacer(p, d); break;
    case Body::Jeep: DrawJeep(p, d); break;
    case Body::FireEngine: DrawFireEngine(p, d); break;
    case Body::TowTruck: DrawTowTruck(p, d); break;
    case Body::BoxTruck: DrawBoxTruck(p, d); break;
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
