#include "SmallArt.h"

#include "ArtColours.h"
#include "CarArt.h"
#include "Iso.h"
#include "PixelFont.h"
#include "TileArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

enum class Item { PreviewEmpty, AutoPreviewEmpty, PreviewOccupied, AutoPreviewOccupied, Undo, Bronze, Silver, Gold };

QImage Panel()
{
    QImage image(ItemWidth, ItemHeight, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, ItemHeight);
    g.setColorAt(0, QColor(58, 62, 74));
    g.setColorAt(1, QColor(26, 28, 36));
    p.fillRect(image.rect(), g);
    p.setPen(QColor(110, 114, 128));
    p.drawRect(0, 0, ItemWidth - 1, ItemHeight - 1);
    return image;
}

// A car or a bay tile at a third of its size, as a small picture of the real thing.
void Miniature(QPainter& p, const QImage& picture, QPointF centre, double scale)
{
    const QImage small = picture.convertToFormat(QImage::Format_ARGB32)
                             .scaled(static_cast<int>(std::round(picture.width() * scale)),
                                     static_cast<int>(std::round(picture.height() * scale)), Qt::IgnoreAspectRatio,
                                     Qt::SmoothTransformation);
    p.drawImage(QPointF(std::round(centre.x() - small.width() / 2.0), std::round(centre.y() - small.height() / 2.0)), small);
}

QImage Transparentised(const QImage& picture)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (qAlpha(out.pixel(x, y)) == 0)
                out.setPixel(x, y, 0);
    return out;
}

void Arrow(QPainter& p, double top, double bottom, const QColor& colour)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    QPolygonF arrow;
    const double cx = 12.5, head = top + 8;
    arrow << QPointF(cx, top) << QPointF(cx + 7, head) << QPointF(cx + 3, head) << QPointF(cx + 3, bottom)
          << QPointF(cx - 3, bottom) << QPointF(cx - 3, head) << QPointF(cx - 7, head);
    p.setPen(QPen(Scaled(colour, 0.55), 1));
    p.setBrush(colour);
    p.drawPolygon(arrow);
    p.setRenderHint(QPainter::Antialiasing, false);
}

QImage PreviewPicture(bool automatic, bool occupied)
{
    QImage image = Panel();
    QPainter p(&image);
    Miniature(p, Transparentised(CarPicture(automatic ? 3 : 13)), QPointF(12.5, 10), 0.33);
    Arrow(p, 20, automatic ? 42 : 36, automatic ? QColor(255, 146, 24) : QColor(176, 178, 184));
    if (!automatic)
        DrawTinyText(p, QPoint(3, 38), "SPACE", QColor(236, 236, 236));
    Miniature(p, Transparentised(BayTilePicture(0)), QPointF(12.5, 54), 0.26);
    if (occupied)
        Miniature(p, Transparentised(CarPicture(1)), QPointF(13, 51), 0.3);
    return image;
}

QImage UndoPicture()
{
    QImage image = Panel();
    QPainter p(&image);
    const QColor ink(250, 226, 120);
    DrawTinyText(p, QPoint(5, 6), "UNDO", ink);
    DrawTinyText(p, QPoint(5, 53), "UNDO", ink);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(255, 255, 255), 3, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    const QRectF ring(4.5, 23.5, 16, 16);
    p.drawArc(ring, 60 * 16, 290 * 16);
    // The arrow head at the open end of the ring, pointing back round.
    const double a = 60 * M_PI / 180;
    const QPointF tip(12.5 + 8 * std::cos(a), 31.5 - 8 * std::sin(a));
    QPolygonF head;
    head << tip + QPointF(-5.5, -1) << tip + QPointF(2.5, -4.5) << tip + QPointF(1.5, 4.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawPolygon(head);
    return image;
}

QImage MedalPicture(const QColor& metal, const QColor& stripe)
{
    QImage image = Panel();
    QPainter p(&image);
    // A striped ribbon folded into a V, and the medal hanging from it.
    for (int i = 0; i < 5; ++i) {
        const QColor c = i % 2 ? QColor(240, 240, 240) : stripe;
        QPolygonF band;
        band << QPointF(4 + i * 3.4, 2) << QPointF(7.4 + i * 3.4, 2) << QPointF(12.5 + (i - 1.5) * 1.2, 34)
             << QPointF(12.5 + (i - 2.5) * 1.2, 34);
        p.setBrush(c);
        p.setPen(Qt::NoPen);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.drawPolygon(band);
    }
    QRadialGradient g(QPointF(9, 40), 14);
    g.setColorAt(0, Mix(metal, QColor(255, 255, 255), 0.6));
    g.setColorAt(0.6, metal);
    g.setColorAt(1, Scaled(metal, 0.55));
    p.setBrush(g);
    p.setPen(QPen(Scaled(metal, 0.45), 1));
    p.drawEllipse(QPointF(12.5, 45), 10, 10);
    // A star struck into the face.
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? 2.6 : 6, a = -M_PI / 2 + i * M_PI / 5;
        star << QPointF(12.5 + r * std::cos(a), 45.5 + r * std::sin(a));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Scaled(metal, 0.72));
    p.drawPolygon(star);
    return image;
}

QImage ItemPicture(Item item)
{
    switch (item) {
    case Item::PreviewEmpty: return PreviewPicture(false, false);
    case Item::AutoPreviewEmpty: return PreviewPicture(true, false);
    case Item::PreviewOccupied: return PreviewPicture(false, true);
    case Item::AutoPreviewOccupied: return PreviewPicture(true, true);
    case Item::Undo: return UndoPicture();
    case Item::Bronze: return MedalPicture(QColor(196, 120, 60), QColor(150, 40, 30));
    case Item::Silver: return MedalPicture(QColor(190, 194, 204), QColor(30, 70, 170));
    case Item::Gold: return MedalPicture(QColor(236, 190, 40), QColor(200, 30, 40));
    }
    return Panel();
}

} // namespace

QImage ShopPicture(int item) { return ItemPicture(static_cast<Item>(item)); }

QImage HeaderItemPicture(int n)
{
    static const Item byFile[] = {Item::Undo, Item::PreviewEmpty, Item::AutoPreviewEmpty, Item::PreviewOccupied,
                                  Item::AutoPreviewOccupied, Item::Bronze, Item::Silver, Item::Gold};
    if (n >= 1 && n <= 8)
        return ItemPicture(byFile[n - 1]);
    // An empty, sunken slot waiting for its item.
    QImage image(ItemWidth, ItemHeight, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, ItemWidth, ItemHeight);
    g.setColorAt(0, QColor(70, 14, 14));
    g.setColorAt(1, QColor(120, 30, 30));
    p.fillRect(image.rect(), g);
    p.setPen(QColor(50, 8, 8));
    p.drawLine(0, 0, ItemWidth - 1, 0);
    p.drawLine(0, 0, 0, ItemHeight - 1);
    p.setPen(QColor(200, 90, 90));
    p.drawLine(1, ItemHeight - 1, ItemWidth - 1, ItemHeight - 1);
    p.drawLine(ItemWidth - 1, 1, ItemWidth - 1, ItemHeight - 1);
    p.setPen(QPen(QColor(150, 52, 52), 1, Qt::DotLine));
    p.drawRect(4, 4, ItemWidth - 9, ItemHeight - 9);
    return image;
}

QImage HeaderPlaceholderPicture()
{
    QImage image(ItemWidth, ItemHeight, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, ItemHeight);
    g.setColorAt(0, QColor(222, 40, 36));
    g.setColorAt(1, QColor(170, 16, 16));
    p.fillRect(image.rect(), g);
    return image;
}

namespace {

// Opaque pixels within `radius` of a transparent one (or the edge) darkened by
// `factor`: the catalogue's outline, as thick as one car pixel at any scale.
void OutlineWithin(QImage& image, int radius, double factor)
{
    const int w = image.width(), h = image.height();
    auto opaque = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && qAlpha(image.pixel(x, y)) != 0; };
    // Distance to the nearest transparent pixel along rows, then the square's worth down the columns.
    std::vector<int> rowNear(static_cast<size_t>(w * h), radius + 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int d = 0; d <= radius; ++d)
                if (!opaque(x - d, y) || !opaque(x + d, y)) {
                    rowNear[static_cast<size_t>(y * w + x)] = d;
                    break;
                }
    QImage out = image;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!opaque(x, y))
                continue;
            bool edge = false;
            for (int d = -radius; d <= radius && !edge; ++d)
                edge = y + d < 0 || y + d >= h || rowNear[static_cast<size_t>((y + d) * w + x)] <= radius;
            if (edge)
                out.setPixel(x, y, Scaled(QColor::fromRgba(image.pixel(x, y)), factor).rgba());
        }
    image = out;
}

// The bay footprint of a tile picture inset by `d` pixels along each row; the
// marker's rim, frame and opening are three of these.
QPolygonF Footprint(double d)
{
    // Corners where the edges u + 2v = 64 + d, 128 − d and u − 2v = −64 + d, 64 − d meet.
    const auto corner = [](double a, double b) { return QPointF((a + b) / 2, (a - b) / 4); };
    return QPolygonF({corner(64 + d, -64 + d), corner(64 + d, 64 - d), corner(128 - d, 64 - d), corner(128 - d, -64 + d)});
}

} // namespace

QImage IconPicture(int size)
{
    // Drawn four times larger in 64 design units and averaged down, so every size
    // is drawn for itself: edges fall on its own pixels, the car keeps its detail.
    const int fine = 4;
    const double unit = size * fine / 64.0;
    QImage big(size * fine, size * fine, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    QPainter p(&big);
    p.setPen(Qt::NoPen);

    // The red tile with its dark rim, a whole number of pixels wide.
    const double rim = std::max(1, size / 32) * fine;
    const double corner = 12.5 * unit;
    p.setBrush(QColor(120, 0, 0));
    p.drawRoundedRect(QRectF(0, 0, big.width(), big.height()), corner, corner);
    QLinearGradient g(0, rim, 0, big.height() - rim);
    g.setColorAt(0, QColor(255, 106, 111));
    g.setColorAt(1, QColor(193, 0, 0));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(rim, rim, big.width() - 2 * rim, big.height() - 2 * rim), corner - rim, corner - rim);

    // Below 32 pixels the marker would be a smudge: the car alone, larger.
    const bool marker = size >= 32;
    if (marker) {
        // The hover marker the car stands on: red rim, yellow frame, open inside.
        const double scale = 0.62 * unit;
        QTransform place;
        place.translate(32 * unit, 42 * unit);
        place.scale(scale, scale);
        place.translate(-TileWidth / 2.0, -TileHeight / 2.0);
        QPainterPath frame, opening;
        frame.addPolygon(place.map(Footprint(2)));
        opening.addPolygon(place.map(Footprint(14)));
        QPainterPath outer;
        outer.addPolygon(place.map(Footprint(0)));
        p.setBrush(QColor(255, 0, 0));
        p.drawPath(outer.subtracted(frame));
        p.setBrush(QColor(255, 255, 0));
        p.drawPath(frame.subtracted(opening));
    }

    // The yellow sports car, drawn at this scale rather than resampled.
    const double carScale = (marker ? 0.8 : 0.72) * unit;
    QImage car(static_cast<int>(std::ceil(CarWidth * carScale)), static_cast<int>(std::ceil(CarHeight * carScale)),
               QImage::Format_ARGB32);
    car.fill(Qt::transparent);
    car.setDevicePixelRatio(carScale);
    PaintCar(car, QPointF(CarOriginX, CarOriginY), 3);
    car.setDevicePixelRatio(1);
    // At the smallest sizes a full-strength outline would swallow the car.
    OutlineWithin(car, static_cast<int>(std::lround(std::max<double>(carScale, fine))), marker ? 0.42 : 0.62);
    const QPointF centre(32 * unit, (marker ? 34 : 32) * unit);
    p.drawImage(QPointF(std::round(centre.x() - car.width() / 2.0), std::round(centre.y() - car.height() / 2.0)), car);
    p.end();
    return big.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_ARGB32);
}

QImage ItemSheet()
{
    const int scale = 4;
    QImage sheet((ItemWidth + 4) * 18 * scale, (ItemHeight + 4) * scale, QImage::Format_RGB32);
    sheet.fill(QColor(200, 40, 40));
    QPainter p(&sheet);
    int x = 0;
    auto put = [&](const QImage& image) {
        p.drawImage(QRect(x * (ItemWidth + 4) * scale, 2 * scale, ItemWidth * scale, ItemHeight * scale), image);
        ++x;
    };
    for (int i = 0; i < ShopPictureCount; ++i)
        put(ShopPicture(i));
    put(HeaderPlaceholderPicture());
    for (int n = 0; n <= 8; ++n)
        put(HeaderItemPicture(n));
    return sheet;
}
