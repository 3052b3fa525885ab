#include "TileArt.h"

#include "ArtColours.h"
#include "Iso.h"

#include <QFont>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>

QImage MarkerFrame()
{
    const int frame = 14; // along a pixel row
    const int rim = 2;
    QImage image(TileWidth, TileHeight, QImage::Format_ARGB32);
    for (int v = 0; v < TileHeight; ++v)
        for (int u = 0; u < TileWidth; ++u) {
            const int d = FootprintEdgeDistance(u, v);
            QRgb c = TransparentKey;
            if (d >= frame)
                c = MarkerInsideKey;
            else if (d >= rim)
                c = qRgb(255, 255, 0);
            else if (d >= 0)
                c = qRgb(255, 0, 0);
            image.setPixel(u, v, c);
        }
    return image;
}

QImage BayTilePicture(int count)
{
    QImage image(TileWidth, TileHeight, QImage::Format_ARGB32);
    image.fill(QColor::fromRgba(TransparentKey));
    const QRgb grey = qRgb(184, 184, 184);
    for (int v = 0; v < TileHeight; ++v)
        for (int u = 0; u < TileWidth; ++u) {
            const int d = FootprintEdgeDistance(u, v);
            if (d >= TileSpill)
                image.setPixel(u, v, grey);
            else if (d >= -TileSpill)
                // The border: white dots two pixels long, grey between them.
                image.setPixel(u, v, (u / 2 + v) % 3 == 0 ? grey : qRgb(250, 250, 250));
        }
    // A thin darker line along the long axis, from the middle of one short edge to the other.
    for (int u = 20; u <= 76; ++u) {
        const int v = 40 - (u - 16 + 1) / 2;
        image.setPixel(u, v, qRgb(150, 150, 150));
    }
    if (count > 0) {
        // The numeral painted on the ground, its baseline running along the bay.
        QImage paint(TileWidth, TileHeight, QImage::Format_ARGB32);
        paint.fill(Qt::transparent);
        QPainter painter(&paint);
        painter.setRenderHint(QPainter::Antialiasing, false);
        QFont font("Liberation Sans");
        font.setBold(true);
        font.setPixelSize(27);
        QPainterPath path;
        path.addText(0, 0, font, QString::number(count));
        const QRectF box = path.boundingRect();
        QTransform shear(1, -0.5, 0, 1, 0, 0);
        QPainterPath placed = shear.map(path.translated(-box.center()));
        placed.translate(48, 24);
        painter.setPen(QPen(QColor(112, 112, 112), 2.4));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(placed);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255));
        painter.drawPath(placed);
        painter.end();
        for (int v = 0; v < TileHeight; ++v)
            for (int u = 0; u < TileWidth; ++u)
                if (qAlpha(paint.pixel(u, v)) >= 128 && FootprintEdgeDistance(u, v) >= TileSpill)
                    image.setPixel(u, v, paint.pixel(u, v) | 0xff000000u);
    }
    HardenAlpha(image, TransparentKey);
    return image;
}

QImage PlaceholderPanel()
{
    // The preview box's size, which is a car's.
    QImage image(CarRectWidth, CarRectHeight, QImage::Format_ARGB32);
    for (int y = 0; y < CarRectHeight; ++y)
        for (int x = 0; x < CarRectWidth; ++x) {
            // A soft pillow: light in the upper left, darker towards the lower right.
            const double dx = (x - 30.0) / 50.0, dy = (y - 16.0) / 34.0;
            const double t = std::clamp(std::sqrt(dx * dx + dy * dy), 0.0, 1.0);
            QColor c = Mix(QColor(226, 52, 44), QColor(142, 12, 14), t);
            if (x == 0 || y == 0)
                c = QColor(236, 96, 88);
            else if (x == CarRectWidth - 1 || y == CarRectHeight - 1)
                c = QColor(110, 8, 10);
            image.setPixel(x, y, c.rgb());
        }
    return image;
}
