#include "SceneArt.h"

#include "ArtColours.h"
#include "CarArt.h"
#include "Iso.h"
#include "TileArt.h"
#include "levels/Tables.h"
#include "view/PageLayout.h"
#include "view/ImageCatalogue.h"
#include "view/Projection.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// Fractional grid position of a pixel centre: BayAt before its truncation.
void GridOf(double x, double y, double& column, double& row)
{
    column = (x - 2 * y + PixelColumnOffset) / double(PixelsPerColumn);
    row = (x + 2 * y) / double(PixelsPerRow);
}

struct Theme {
    QColor Ground;
    QColor GroundDetail;
    bool Paved;
    QColor Asphalt;
    QColor Paint;
    QColor Kerb;
    QColor Leaf;
    QColor LeafLight;
    bool Pines;
    QColor Wall;
    QColor Roof;
    bool Pitched;
    QColor Window;
    double Buildings; // share of places given to buildings
    double Trees;     // share of the rest given to trees rather than bushes
    bool Flowers;
    bool Snow;
};

Theme ThemeOf(int shapeId)
{
    switch (shapeId) {
    case 1: // leafy suburb
        return {QColor(92, 150, 62), QColor(70, 126, 48), false, QColor(78, 80, 86), QColor(236, 236, 228), QColor(196, 192, 182),
                QColor(46, 112, 44), QColor(96, 168, 72), false, QColor(236, 222, 190), QColor(184, 62, 46), true,
                QColor(70, 110, 150), 0.35, 0.75, false, false};
    case 2: // city centre
        return {QColor(176, 172, 164), QColor(150, 146, 140), true, QColor(70, 72, 78), QColor(246, 214, 64), QColor(206, 204, 198),
                QColor(52, 120, 58), QColor(108, 176, 84), false, QColor(132, 148, 170), QColor(92, 98, 110), false,
                QColor(170, 210, 236), 0.6, 0.8, false, false};
    case 3: // autumn park
        return {QColor(138, 140, 64), QColor(114, 116, 50), false, QColor(84, 82, 84), QColor(240, 236, 226), QColor(190, 184, 170),
                QColor(186, 92, 30), QColor(236, 160, 56), false, QColor(170, 96, 70), QColor(110, 60, 44), true,
                QColor(240, 210, 120), 0.25, 0.85, false, false};
    case 4: // seaside
        return {QColor(226, 206, 150), QColor(206, 184, 128), false, QColor(92, 94, 98), QColor(250, 250, 250), QColor(214, 210, 200),
                QColor(60, 150, 80), QColor(130, 200, 100), false, QColor(244, 244, 240), QColor(50, 110, 190), true,
                QColor(80, 150, 210), 0.35, 0.5, false, false};
    case 5: // winter
        return {QColor(228, 236, 244), QColor(204, 216, 230), false, QColor(88, 92, 100), QColor(250, 220, 70), QColor(176, 182, 190),
                QColor(30, 86, 56), QColor(60, 130, 90), true, QColor(150, 100, 64), QColor(238, 242, 248), true,
                QColor(250, 214, 120), 0.3, 0.9, false, true};
    case 6: // shopping centre
        return {QColor(198, 178, 150), QColor(176, 156, 130), true, QColor(74, 76, 82), QColor(244, 244, 240), QColor(210, 200, 184),
                QColor(56, 128, 60), QColor(112, 184, 86), false, QColor(226, 206, 176), QColor(170, 70, 60), false,
                QColor(110, 170, 210), 0.55, 0.7, false, false};
    case 7: // dusk
        return {QColor(56, 96, 60), QColor(44, 80, 48), false, QColor(58, 60, 68), QColor(220, 220, 210), QColor(150, 150, 150),
                QColor(30, 70, 40), QColor(60, 110, 60), false, QColor(120, 110, 130), QColor(70, 60, 80), true,
                QColor(255, 214, 110), 0.4, 0.7, false, false};
    case 8: // country
        return {QColor(150, 176, 70), QColor(196, 176, 74), false, QColor(96, 94, 92), QColor(240, 240, 232), QColor(170, 160, 140),
                QColor(50, 120, 40), QColor(110, 170, 60), false, QColor(176, 48, 40), QColor(96, 90, 84), true,
                QColor(240, 230, 200), 0.2, 0.6, true, false};
    case 9: // docks and warehouses
        return {QColor(150, 150, 146), QColor(128, 128, 124), true, QColor(66, 68, 72), QColor(250, 200, 40), QColor(180, 180, 176),
                QColor(60, 110, 60), QColor(100, 150, 80), false, QColor(90, 120, 150), QColor(200, 110, 40), false,
                QColor(190, 220, 240), 0.7, 0.6, false, false};
    default: // 10, the garden quarter: same bays as 6, a green setting
        return {QColor(100, 162, 70), QColor(80, 140, 56), false, QColor(82, 84, 92), QColor(240, 240, 236), QColor(200, 196, 186),
                QColor(40, 118, 56), QColor(110, 186, 90), false, QColor(250, 246, 236), QColor(90, 60, 120), true,
                QColor(120, 160, 200), 0.25, 0.6, true, false};
    }
}

struct Lot {
    double MinColumn, MaxColumn, MinRow, MaxRow; // the bays, as fractional grid bounds
    double Margin;                                // driving lane around them, in grid units
};

// Horizontal pixel distance inside the lot's outer edge (negative outside).
double LotDistance(const Lot& lot, double column, double row, double margin)
{
    const double dc = std::min(column - (lot.MinColumn - margin), (lot.MaxColumn + margin) - column) * 128;
    const double dr = std::min(row - (lot.MinRow - margin), (lot.MaxRow + margin) - row) * 64;
    return std::min(dc, dr);
}

uint32_t Hash(int x, int y, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

QColor Grain(const QColor& c, int x, int y, uint32_t seed, double amount)
{
    const double n = (Hash(x, y, seed) & 0xff) / 255.0 - 0.5;
    return Scaled(c, 1 + n * amount);
}

void PaintGround(QImage& image, const Theme& theme, const Lot& lot, uint32_t seed)
{
    const double kerb = 7; // pixels along a row
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            double c, r;
            GridOf(x + 0.5, y + 0.5, c, r);
            const double d = LotDistance(lot, c, r, lot.Margin);
            QColor colour;
            if (d >= 0) {
                colour = Grain(theme.Asphalt, x, y, seed, 0.16);
                const bool inBays = LotDistance(lot, c, r, 0) >= 0;
                const int a = (x - 2 * y + 1088) & 127;
                const int b = (x + 2 * y) & 63;
                if (inBays && (a < 2 || b < 2))
                    colour = Grain(theme.Paint, x, y, seed, 0.08);
                else if (d < 2)
                    colour = Scaled(theme.Asphalt, 0.7);
            } else if (d >= -kerb) {
                // The kerb stone: lit on top, a shadowed lip against the lane.
                colour = d >= -2 ? Scaled(theme.Kerb, 0.72) : Grain(theme.Kerb, x, y, seed, 0.06);
                const int stone = static_cast<int>(std::floor((c + r * 2) * 3));
                if (stone % 2 == 0 && d < -2)
                    colour = Scaled(colour, 0.92);
            } else if (theme.Paved) {
                const int a = (x - 2 * y + 4096) % 32, b = (x + 2 * y + 4096) % 32;
                colour = (a < 1 || b < 1) ? theme.GroundDetail : Grain(theme.Ground, x / 4, y / 2, seed, 0.08);
            } else {
                colour = Grain(theme.Ground, x, y, seed, 0.14);
                if ((Hash(x / 3, y / 2, seed + 7) & 31) == 0)
                    colour = theme.GroundDetail;
                if (theme.Flowers && (Hash(x, y, seed + 11) % 97) == 0)
                    colour = (Hash(x, y, seed + 3) & 1) ? QColor(250, 240, 250) : QColor(236, 110, 160);
            }
            line[x] = colour.rgb();
        }
    }
}

struct Thing {
    double Depth;
    std::function<void(QImage&)> Draw;
};

void Tree(QImage& image, QPointF base, const Theme& theme, double size, ArtRandom& random)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(QRectF(base.x() - size * 0.9 + 4, base.y() - size * 0.35, size * 1.9, size * 0.8));
    p.setBrush(QColor(96, 64, 40));
    p.drawRect(QRectF(base.x() - 2, base.y() - size * 0.9, 4, size * 0.9));
    if (theme.Pines) {
        for (int tier = 0; tier < 3; ++tier) {
            const double w = size * (1.0 - tier * 0.25), top = base.y() - size * (1.0 + tier * 0.55);
            QPolygonF cone;
            cone << QPointF(base.x(), top - size * 0.9) << QPointF(base.x() + w * 0.7, top + size * 0.25)
                 << QPointF(base.x() - w * 0.7, top + size * 0.25);
            p.setBrush(theme.Leaf);
            p.drawPolygon(cone);
            QPolygonF lit;
            lit << QPointF(base.x(), top - size * 0.9) << QPointF(base.x(), top + size * 0.25)
                << QPointF(base.x() - w * 0.7, top + size * 0.25);
            p.setBrush(theme.Snow ? QColor(236, 242, 250) : theme.LeafLight);
            p.drawPolygon(lit);
        }
        return;
    }
    const double cy = base.y() - size * 1.35;
    p.setBrush(Scaled(theme.Leaf, 0.8));
    p.drawEllipse(QPointF(base.x() + 1, cy + 1), size, size * 0.85);
    p.setBrush(theme.Leaf);
    p.drawEllipse(QPointF(base.x() - size * 0.15, cy - size * 0.1), size * 0.85, size * 0.72);
    p.setBrush(theme.LeafLight);
    p.drawEllipse(QPointF(base.x() - size * 0.35, cy - size * 0.35), size * 0.45, size * 0.38);
    for (int i = 0; i < 5; ++i) {
        p.setBrush(i % 2 ? theme.LeafLight : Scaled(theme.Leaf, 0.85));
        p.drawEllipse(QPointF(base.x() + (random.Unit() - 0.5) * size * 1.2, cy + (random.Unit() - 0.5) * size), 1.5, 1.5);
    }
}

void Bush(QImage& image, QPointF base, const Theme& theme)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Scaled(theme.Leaf, 0.75));
    p.drawEllipse(QPointF(base.x() + 1, base.y() - 3), 9, 5);
    p.setBrush(theme.Leaf);
    p.drawEllipse(QPointF(base.x() - 1, base.y() - 5), 7.5, 4.5);
    p.setBrush(theme.LeafLight);
    p.drawEllipse(QPointF(base.x() - 3, base.y() - 7), 3.5, 2.2);
    if (theme.Flowers) {
        p.setBrush(QColor(240, 110, 170));
        p.drawRect(QRectF(base.x() + 2, base.y() - 6, 2, 2));
        p.setBrush(QColor(250, 250, 240));
        p.drawRect(QRectF(base.x() - 4, base.y() - 4, 2, 2));
    }
}

// A building on ground X 0…length, Y 0…depth from `origin`, walls `height` high.
void Building(QImage& image, QPointF origin, double length, double depth, double height, const Theme& theme, ArtRandom& random)
{
    IsoPainter p(image, origin);
    const QColor wall = Mix(theme.Wall, QColor(random.Below(2) ? 255 : 0, 255, 255), random.Unit() * 0.12);
    p.Box(0, length, 0, depth, 0, height, wall);
    // Windows on the two faces the viewer sees: the front (−X) and the near side (+Y).
    const int floors = std::max(1, static_cast<int>(height / 13));
    for (int f = 0; f < floors; ++f) {
        const double z0 = 4 + f * 13, z1 = z0 + 6;
        if (z1 > height - 2)
            break;
        for (double x = 5; x + 6 < length - 2; x += 11)
            p.OnSide({{x, z0}, {x + 6, z0}, {x + 6, z1}, {x, z1}}, depth + 0.02,
                     (Hash(static_cast<int>(x), f, static_cast<uint32_t>(height)) & 3) ? theme.Window : Scaled(theme.Window, 0.7));
        for (double y = 5; y + 6 < depth - 2; y += 11)
            p.OnStrip({0, z1}, {0, z0}, 0, 1, y, y + 6, theme.Window);
    }
    if (theme.Pitched) {
        const double ridge = std::min(depth, length) * 0.45;
        // A roof ridge running along X, with the gables at the ends.
        std::vector<V3> nearSlope = {{-2, depth + 2, height}, {length + 2, depth + 2, height}, {length + 2, depth / 2, height + ridge},
                                     {-2, depth / 2, height + ridge}};
        std::vector<V3> farSlope = {{-2, depth / 2, height + ridge}, {length + 2, depth / 2, height + ridge},
                                    {length + 2, -2, height}, {-2, -2, height}};
        p.Face(farSlope, {0, -1, 1}, theme.Roof);
        p.Face(nearSlope, {0, 1, 1}, theme.Roof);
        p.Face({{0, -0.0, height}, {0, depth, height}, {0, depth / 2, height + ridge - 1}}, {-1, 0, 0}, wall);
        if (theme.Snow)
            p.Face({{-2, depth / 2 + 4, height + ridge - 3}, {length + 2, depth / 2 + 4, height + ridge - 3},
                    {length + 2, depth / 2, height + ridge}, {-2, depth / 2, height + ridge}},
                   {0, 1, 1}, QColor(250, 252, 255));
    } else {
        p.Box(0, length, 0, depth, height, height + 2, Scaled(theme.Roof, 1.1));
        p.Flat({{2, 2, height + 2}, {length - 2, 2, height + 2}, {length - 2, depth - 2, height + 2}, {2, depth - 2, height + 2}},
               theme.Roof);
        if (length > 30)
            p.Box(length * 0.5, length * 0.5 + 8, depth * 0.3, depth * 0.3 + 8, height + 2, height + 7, Silver);
    }
}

// Fills the area around a lot with trees, bushes and buildings that keep clear of it.
void Surroundings(QImage& image, const Theme& theme, const Lot& lot, uint32_t seed, double clearance)
{
    ArtRandom random(seed);
    std::vector<Thing> things;
    const int w = image.width(), h = image.height();
    auto clearOfLot = [&](double x0, double y0, double x1, double y1) {
        for (double y = y0; y <= y1; y += 4)
            for (double x = x0; x <= x1; x += 4) {
                double c, r;
                GridOf(x, y, c, r);
                if (LotDistance(lot, c, r, lot.Margin) > -clearance)
                    return false;
            }
        return true;
    };
    std::vector<QRectF> taken;
    auto free = [&](const QRectF& box) {
        for (const QRectF& t : taken)
            if (t.intersects(box))
                return false;
        return true;
    };
    for (int gy = -40; gy < h + 60; gy += 34)
        for (int gx = -40; gx < w + 40; gx += 38) {
            const double x = gx + random.Below(20), y = gy + random.Below(16);
            const bool building = random.Unit() < theme.Buildings;
            if (building) {
                const double length = 26 + random.Below(4) * 10, depth = 24 + random.Below(3) * 8;
                const double height = 20 + random.Below(4) * 12;
                // Ground corner at (x, y): the building reaches right by length + depth and up by its height.
                const QRectF box(x - 2, y - length / 2 - height - depth * 0.4 - 6, length + depth + 6, length / 2 + depth / 2 + height + 12);
                if (clearOfLot(box.left(), box.top(), box.right(), box.bottom()) && free(box)) {
                    taken.push_back(box);
                    things.push_back({y + depth / 2, [=, &theme](QImage& img) {
                                          ArtRandom local(static_cast<uint32_t>(x * 7 + y));
                                          Building(img, QPointF(x, y), length, depth, height, theme, local);
                                      }});
                    continue;
                }
            }
            const bool tree = random.Unit() < theme.Trees;
            const double size = tree ? 9 + random.Below(6) : 9;
            const QRectF box = tree ? QRectF(x - size - 2, y - size * 3.2, size * 2 + 6, size * 3.4)
                                    : QRectF(x - 10, y - 10, 20, 12);
            if (!clearOfLot(box.left(), box.top(), box.right(), box.bottom()) || !free(box))
                continue;
            taken.push_back(box.adjusted(4, 4, -4, -4));
            const uint32_t treeSeed = random.Next();
            if (tree)
                things.push_back({y, [=, &theme](QImage& img) {
                                      ArtRandom local(treeSeed);
                                      Tree(img, QPointF(x, y), theme, size, local);
                                  }});
            else
                things.push_back({y, [=, &theme](QImage& img) { Bush(img, QPointF(x, y), theme); }});
        }
    std::stable_sort(things.begin(), things.end(), [](const Thing& a, const Thing& b) { return a.Depth < b.Depth; });
    for (const Thing& t : things)
        t.Draw(image);
}

void DrawPicture(QImage& target, const QImage& picture, int left, int top)
{
    QPainter p(&target);
    p.drawImage(left, top, picture);
}

} // namespace

QImage MapBackground(int shapeId, const std::vector<QImage>&)
{
    const BoardShape shape = ShapeById(shapeId);
    const Theme theme = ThemeOf(shapeId);
    const Lot lot{static_cast<double>(shape.MinColumn), static_cast<double>(shape.MaxColumn + 1),
                  static_cast<double>(shape.MinRow), static_cast<double>(shape.MaxRow + 1), 0.28};
    QImage image(ViewWidth, ViewHeight, QImage::Format_RGB32);
    const uint32_t seed = 1000u + static_cast<uint32_t>(shapeId) * 77u;
    PaintGround(image, theme, lot, seed);
    Surroundings(image, theme, lot, seed, 9);
    return image;
}

namespace {

// Where the MENU and STAGES pages write their texts over the page background
// (view/PageLayout.h, the window's own places). Light text needs a near-black
// ground there: the grey mode labels, the dark red credit lines under the menu,
// the pink shop texts.
struct DarkZone {
    QRectF Area;    // in the picture's own pixels
    double Corner;  // radius of its rounded corners
    double Light;   // what is left of the scene inside
    double Feather; // pixels over which the scene comes back outside
};

// A page area in the picture's pixels, grown by `margin` on every side.
QRectF AroundOnPicture(const PageRect& area, double margin)
{
    return QRectF(area.Left - PageBackgroundPlace.Left - margin, area.Top - PageBackgroundPlace.Top - margin,
                  area.Width + 2 * margin, area.Height + 2 * margin);
}

const DarkZone PageDarkZones[] = {
    {AroundOnPicture(Union(MenuFrame, ShopTextArea), 20), 70, 0.4, 90}, // the menu, its buttons, both shop columns
    {AroundOnPicture(ModeLabelArea, 8), 40, 0.06, 100},                 // the six mode labels
    {AroundOnPicture(Union(CreditLine, ForumLine), 18), 26, 0, 70},     // the two credit lines
};

// Lamps along the edges of the car park, clear of every dark zone.
const QPointF PageLamps[] = {{64, 384}, {104, 262}, {704, 192}, {738, 338}};

double SmoothStep(double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

double DarkZoneLight(double x, double y)
{
    double light = 1;
    for (const DarkZone& z : PageDarkZones) {
        // Distance outside the rectangle with rounded corners.
        const QRectF core = z.Area.adjusted(z.Corner, z.Corner, -z.Corner, -z.Corner);
        const double dx = std::max({core.left() - x, x - core.right(), 0.0});
        const double dy = std::max({core.top() - y, y - core.bottom(), 0.0});
        const double outside = std::max(0.0, std::hypot(dx, dy) - z.Corner);
        light = std::min(light, z.Light + (1 - z.Light) * SmoothStep(outside / z.Feather));
    }
    return light;
}

// A lamp post standing at its foot; its lamp is drawn apart, after the night
// has dimmed everything else.
void LampPost(QImage& image, QPointF foot)
{
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(54, 56, 62));
    p.drawRect(QRectF(foot.x() - 1, foot.y() - 30, 2, 30));
    p.drawRect(QRectF(foot.x() - 1, foot.y() - 31, 7, 2));
}

void Lamp(QImage& image, QPointF foot)
{
    QPainter p(&image);
    p.fillRect(QRectF(foot.x() + 3, foot.y() - 30, 4, 2), QColor(255, 236, 170));
}

} // namespace

QImage PageBackground(const std::vector<QImage>& catalogue)
{
    // A wide car park at night seen from further up the same hill: bays of
    // parked cars, a lane, and the town around them. Lamps light its edges; the
    // middle, where the pages write their texts, lies calm in the dark.
    QImage image(PageBackgroundPlace.Width, PageBackgroundPlace.Height, QImage::Format_RGB32);
    Theme theme = ThemeOf(7);
    theme.Buildings = 0.7;
    const Lot lot{3, 11, 10, 22, 0.3};
    PaintGround(image, theme, lot, 4242);
    ArtRandom random(99);
    for (int row = 10; row < 22; ++row)
        for (int column = 3; column < 11; ++column) {
            if (row == 15 || row == 16)
                continue; // the lane through the middle
            if (random.Below(5) == 0)
                continue;
            const Rect car = CarRect(column, row);
            DrawPicture(image, catalogue[static_cast<size_t>(FirstCarPicture + random.Below(CarCount))], car.Left, car.Top);
        }
    Surroundings(image, theme, lot, 777, 9);
    for (const QPointF& lamp : PageLamps)
        LampPost(image, lamp);
    // Night: a cool, dim ground light, warm pools under the lamps, and the dark zones.
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            double warm = 0;
            for (const QPointF& lamp : PageLamps) {
                const double dx = (x - lamp.x()) / 95.0, dy = (y - lamp.y()) / 60.0;
                warm += std::exp(-(dx * dx + dy * dy));
            }
            warm = std::min(1.0, warm);
            const double dim = DarkZoneLight(x, y);
            const double light = (0.34 + 0.42 * warm) * dim;
            const QColor c(line[x]);
            line[x] = qRgb(std::min(255, static_cast<int>(c.red() * light * (0.86 + 0.2 * warm))),
                           std::min(255, static_cast<int>(c.green() * light * (0.92 + 0.06 * warm))),
                           std::min(255, static_cast<int>(c.blue() * light * (1.12 - 0.3 * warm) + 5 * dim)));
        }
    }
    for (const QPointF& lamp : PageLamps)
        Lamp(image, lamp);
    return image;
}

QImage ContactSheet(const std::vector<QImage>& catalogue)
{
    const int cellW = 104, cellH = 66, columns = 10;
    const int rows = (static_cast<int>(catalogue.size()) + columns - 1) / columns;
    QImage sheet(columns * cellW, rows * cellH, QImage::Format_RGB32);
    sheet.fill(QColor(120, 124, 120));
    QPainter p(&sheet);
    QFont font("Liberation Sans");
    font.setPixelSize(10);
    p.setFont(font);
    for (size_t i = 0; i < catalogue.size(); ++i) {
        const int cx = static_cast<int>(i) % columns * cellW, cy = static_cast<int>(i) / columns * cellH;
        p.fillRect(cx + 2, cy + 2, cellW - 4, cellH - 4, QColor(96, 98, 104));
        p.drawImage(cx + (cellW - catalogue[i].width()) / 2, cy + 14, catalogue[i]);
        p.setPen(Qt::white);
        p.drawText(cx + 4, cy + 12, QString::number(i));
    }
    return sheet;
}

QImage BoardReview(int shapeId, const std::vector<QImage>& catalogue)
{
    // A board as the play view shows it after a deal: tiles of bays with hidden
    // cars, the hover and selection markers, then the top cars row by row.
    const BoardShape shape = ShapeById(shapeId);
    QImage view = MapBackground(shapeId, catalogue);
    ArtRandom random(static_cast<uint32_t>(shapeId) * 31u);
    std::vector<int> counts, cars;
    for (int row = shape.MinRow; row <= shape.MaxRow; ++row)
        for (int column = shape.MinColumn; column <= shape.MaxColumn; ++column) {
            counts.push_back(random.Below(4) == 0 ? 0 : random.Below(6));
            cars.push_back(random.Below(9) == 0 ? 0 : FirstCarPicture + random.Below(CarCount));
        }
    size_t k = 0;
    for (int row = shape.MinRow; row <= shape.MaxRow; ++row)
        for (int column = shape.MinColumn; column <= shape.MaxColumn; ++column, ++k)
            if (counts[k] > 0 || cars[k] == 0) {
                const Rect bay = BayRect(column, row);
                DrawPicture(view, catalogue[static_cast<size_t>(EmptyTilePicture + counts[k])], bay.Left, bay.Top);
            }
    const Rect hover = BayRect(shape.MinColumn + 1, shape.MinRow + 2);
    DrawPicture(view, catalogue[MarkerPicture], hover.Left, hover.Top);
    const Rect selected = BayRect(shape.MinColumn, shape.MinRow + 4);
    DrawPicture(view, catalogue[MarkerPicture], selected.Left, selected.Top);
    k = 0;
    for (int row = shape.MinRow; row <= shape.MaxRow; ++row)
        for (int column = shape.MinColumn; column <= shape.MaxColumn; ++column, ++k)
            if (cars[k] != 0) {
                const Rect car = CarRect(column, row);
                DrawPicture(view, catalogue[static_cast<size_t>(cars[k])], car.Left, car.Top);
            }
    return view;
}
