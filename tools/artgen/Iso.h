#pragma once
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>

#include <vector>

// A point above the ground of the car park. X runs along a bay's long axis
// (towards higher columns, up and to the right on screen), Y along its short
// axis (towards higher rows, down and to the right), Z straight up. One unit of
// X or Y moves one pixel across the screen along that axis, so a bay is
// ColumnStepX × RowStepX units.
struct V3 {
    double X = 0;
    double Y = 0;
    double Z = 0;
};

// Side profiles are drawn in the X–Z plane, counter-clockwise with Z up.
using Profile = std::vector<QPointF>;

// Mixes two colours: t = 0 gives a, t = 1 gives b.
QColor Mix(const QColor& a, const QColor& b, double t);
QColor Scaled(const QColor& c, double factor);

// Draws solids and flat details in the play view's projection (view/Projection.h):
// screen x = X + Y and screen y = X · ColumnStepY / ColumnStepX + Y · RowStepY /
// RowStepX − Z, that is −X/2 + Y/2 − Z, both from Origin. Antialiasing stays off so every
// edge lands on whole pixels.
class IsoPainter {
public:
    IsoPainter(QImage& image, QPointF origin);

    QPointF Project(const V3& p) const;
    QPainter& Painter() { return painter; }

    // Brightness of a face with this outward normal under the game's light.
    static double Shade(const V3& normal);
    static bool Facing(const V3& normal);

    // A flat polygon in its own colour, unshaded.
    void Flat(const std::vector<V3>& points, const QColor& colour);
    // A face lit by its normal; skipped when it faces away.
    void Face(const std::vector<V3>& points, const V3& normal, const QColor& colour);
    // A profile pushed out across Y from y0 to y1. edgeColours, when given, colours
    // the strip of each profile edge (edge i runs from point i to point i + 1).
    void Prism(const Profile& profile, double y0, double y1, const QColor& colour,
               const std::vector<QColor>& edgeColours = {});
    void Box(double x0, double x1, double y0, double y1, double z0, double z1, const QColor& colour);
    // A wheel standing in the plane Y = y, its centre at (x, radius).
    void Wheel(double x, double y, double radius, const QColor& tyre, const QColor& hub);
    // A disc lying flat at height z.
    void Disc(double x, double y, double z, double radius, const QColor& colour);
    // A quad on the strip of profile edge p → q, from t0 to t1 along the edge and y0 to y1 across.
    void OnStrip(const QPointF& p, const QPointF& q, double t0, double t1, double y0, double y1,
                 const QColor& colour, bool shaded = true);
    // A polygon of the profile plane drawn on the side face Y = y.
    void OnSide(const Profile& shape, double y, const QColor& colour, bool shaded = true);

private:
    QImage& image;
    QPainter painter;
    QPointF origin;
};

// Shrinks a convex counter-clockwise polygon by d on every edge.
Profile Inset(const Profile& polygon, double d);

// Alpha to 0 or 255 only, and every transparent pixel set to the given colour.
void HardenAlpha(QImage& image, QRgb transparentColour);
// Darkens the opaque pixels that touch a transparent one or the picture's edge.
void OutlineSilhouette(QImage& image, double factor);
