#include "Iso.h"

#include "view/Projection.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>

QColor Mix(const QColor& a, const QColor& b, double t)
{
    auto channel = [t](int x, int y) { return std::clamp(static_cast<int>(std::lround(x + (y - x) * t)), 0, 255); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()), channel(a.blue(), b.blue()));
}

QColor Scaled(const QColor& c, double factor)
{
    auto channel = [factor](int x) { return std::clamp(static_cast<int>(std::lround(x * factor)), 0, 255); };
    return QColor(channel(c.red()), channel(c.green()), channel(c.blue()));
}

IsoPainter::IsoPainter(QImage& image, QPointF origin) : image(image), painter(&image), origin(origin)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
}

QPointF IsoPainter::Project(const V3& p) const
{
    constexpr double ColumnSlope = static_cast<double>(ColumnStepY) / ColumnStepX;
    constexpr double RowSlope = static_cast<double>(RowStepY) / RowStepX;
    return {origin.x() + p.X + p.Y, origin.y() + p.X * ColumnSlope + p.Y * RowSlope - p.Z};
}

// The light comes from the upper left of the screen and a little from the viewer.
double IsoPainter::Shade(const V3& n)
{
    const double lx = -0.55, ly = 0.30, lz = 1.0;
    const double len = std::sqrt(n.X * n.X + n.Y * n.Y + n.Z * n.Z) * std::sqrt(lx * lx + ly * ly + lz * lz);
    const double lambert = len > 0 ? (n.X * lx + n.Y * ly + n.Z * lz) / len : 0;
    return 0.52 + 0.48 * std::max(0.0, lambert);
}

// The viewer looks along (1, −1, −1): faces whose normal has a positive share of
// (−1, 1, 1) are seen.
bool IsoPainter::Facing(const V3& n) { return -n.X + n.Y + n.Z > 1e-9; }

void IsoPainter::Flat(const std::vector<V3>& points, const QColor& colour)
{
    QPolygonF polygon;
    for (const V3& p : points)
        polygon << Project(p);
    painter.setBrush(colour);
    painter.drawPolygon(polygon);
}

void IsoPainter::Face(const std::vector<V3>& points, const V3& normal, const QColor& colour)
{
    if (Facing(normal))
        Flat(points, Scaled(colour, Shade(normal)));
}

void IsoPainter::Prism(const Profile& profile, double y0, double y1, const QColor& colour,
                       const std::vector<QColor>& edgeColours)
{
    struct Strip {
        std::vector<V3> Points;
        V3 Normal;
        QColor Colour;
        double Depth;
    };
    std::vector<Strip> strips;
    const size_t n = profile.size();
    for (size_t i = 0; i < n; ++i) {
        const QPointF& p = profile[i];
        const QPointF& q = profile[(i + 1) % n];
        // Outward normal of a counter-clockwise profile edge.
        V3 normal{q.y() - p.y(), 0, -(q.x() - p.x())};
        const QColor c = i < edgeColours.size() && edgeColours[i].isValid() ? edgeColours[i] : colour;
        const double depth = -(p.x() + q.x()) / 2 + (y0 + y1) / 2 + (p.y() + q.y()) / 2;
        strips.push_back({{{p.x(), y0, p.y()}, {q.x(), y0, q.y()}, {q.x(), y1, q.y()}, {p.x(), y1, p.y()}}, normal, c, depth});
    }
    std::stable_sort(strips.begin(), strips.end(), [](const Strip& a, const Strip& b) { return a.Depth < b.Depth; });
    for (const Strip& s : strips)
        Face(s.Points, s.Normal, s.Colour);
    OnSide(profile, y1, colour);
}

void IsoPainter::Box(double x0, double x1, double y0, double y1, double z0, double z1, const QColor& colour)
{
    Prism({{x0, z0}, {x1, z0}, {x1, z1}, {x0, z1}}, y0, y1, colour);
}

void IsoPainter::Wheel(double x, double y, double radius, const QColor& tyre, const QColor& hub)
{
    std::vector<V3> rim, inner;
    for (int i = 0; i < 20; ++i) {
        const double a = i * 2 * M_PI / 20;
        rim.push_back({x + radius * std::cos(a), y, radius + radius * std::sin(a)});
        inner.push_back({x + radius * 0.45 * std::cos(a), y, radius + radius * 0.45 * std::sin(a)});
    }
    Flat(rim, tyre);
    if (radius >= 3)
        Flat(inner, hub);
}

void IsoPainter::Disc(double x, double y, double z, double radius, const QColor& colour)
{
    std::vector<V3> rim;
    for (int i = 0; i < 20; ++i) {
        const double a = i * 2 * M_PI / 20;
        rim.push_back({x + radius * std::cos(a), y + radius * std::sin(a), z});
    }
    Flat(rim, colour);
}

void IsoPainter::OnStrip(const QPointF& p, const QPointF& q, double t0, double t1, double y0, double y1,
                         const QColor& colour, bool shaded)
{
    const QPointF a = p + (q - p) * t0;
    const QPointF b = p + (q - p) * t1;
    const V3 normal{q.y() - p.y(), 0, -(q.x() - p.x())};
    if (!Facing(normal))
        return;
    Flat({{a.x(), y0, a.y()}, {b.x(), y0, b.y()}, {b.x(), y1, b.y()}, {a.x(), y1, a.y()}},
         shaded ? Scaled(colour, Shade(normal)) : colour);
}

void IsoPainter::OnSide(const Profile& shape, double y, const QColor& colour, bool shaded)
{
    std::vector<V3> points;
    for (const QPointF& p : shape)
        points.push_back({p.x(), y, p.y()});
    Flat(points, shaded ? Scaled(colour, Shade({0, 1, 0})) : colour);
}

Profile Inset(const Profile& polygon, double d)
{
    const size_t n = polygon.size();
    struct Line {
        QPointF P;
        QPointF Dir;
    };
    std::vector<Line> lines;
    for (size_t i = 0; i < n; ++i) {
        const QPointF p = polygon[i];
        const QPointF q = polygon[(i + 1) % n];
        QPointF dir = q - p;
        const double len = std::hypot(dir.x(), dir.y());
        dir /= len;
        const QPointF inward(-dir.y(), dir.x()); // left of a counter-clockwise edge
        lines.push_back({p + inward * d, dir});
    }
    Profile out;
    for (size_t i = 0; i < n; ++i) {
        const Line& a = lines[(i + n - 1) % n];
        const Line& b = lines[i];
        const double cross = a.Dir.x() * b.Dir.y() - a.Dir.y() * b.Dir.x();
        if (std::abs(cross) < 1e-9) {
            out.push_back(b.P);
            continue;
        }
        const QPointF w = b.P - a.P;
        const double t = (w.x() * b.Dir.y() - w.y() * b.Dir.x()) / cross;
        out.push_back(a.P + a.Dir * t);
    }
    return out;
}

void HardenAlpha(QImage& image, QRgb transparentColour)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] = qAlpha(row[x]) >= 128 ? (row[x] | 0xff000000u) : (transparentColour & 0x00ffffffu);
    }
}

void OutlineSilhouette(QImage& image, double factor)
{
    const QImage source = image.copy();
    auto opaque = [&source](int x, int y) {
        return x >= 0 && y >= 0 && x < source.width() && y < source.height() && qAlpha(source.pixel(x, y)) == 255;
    };
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (opaque(x, y) && (!opaque(x - 1, y) || !opaque(x + 1, y) || !opaque(x, y - 1) || !opaque(x, y + 1)))
                image.setPixel(x, y, Scaled(QColor(source.pixel(x, y)), factor).rgb());
}
