#pragma once
// The same scene drawn by QPainter, for comparing pixels and speed. QPainter
// gets its fastest path: premultiplied copies drawn into a premultiplied target.
#include "view/LayerScene.h"

#include <QImage>
#include <QPainter>

#include <unordered_map>

namespace fixture {

inline QImage PremultipliedCopy(const Picture& picture, bool opaque)
{
    QImage image(reinterpret_cast<const uchar*>(picture.Pixels.data()), picture.Width, picture.Height,
                 picture.Width * 4, QImage::Format_ARGB32);
    QImage copy = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (opaque)
        for (int y = 0; y < copy.height(); ++y) {
            auto* row = reinterpret_cast<uint32_t*>(copy.scanLine(y));
            for (int x = 0; x < copy.width(); ++x)
                row[x] = image.pixel(x, y) | 0xFF000000u;
        }
    return copy;
}

class PainterScene {
public:
    PainterScene(const LayerScene& scene, uint32_t viewColour) : Scene(scene), ViewColour(viewColour)
    {
        Background = PremultipliedCopy(scene.Background(), true);
        for (int i = 0; i < scene.LayerCount(); ++i) {
            const Picture* p = scene.Layer(i).Image;
            if (p && !Images.count(p))
                Images.emplace(p, PremultipliedCopy(*p, p->Mode == DrawMode::Opaque));
        }
    }

    void Paint(QImage& target) const
    {
        QPainter painter(&target);
        const QColor colour = QColor::fromRgb(ViewColour);
        const int bw = Background.width(), bh = Background.height();
        if (bw < target.width())
            painter.fillRect(bw, 0, target.width() - bw, target.height(), colour);
        if (bh < target.height())
            painter.fillRect(0, bh, bw, target.height() - bh, colour);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, Background);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        for (int i = 0; i < Scene.LayerCount(); ++i) {
            const SceneLayer& layer = Scene.Layer(i);
            if (!layer.Visible || !layer.Image || layer.Image->Empty())
                continue;
            const Rect& r = layer.Location;
            if (layer.Mode == DrawMode::Opaque)
                painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(QRect(r.Left, r.Top, r.Width(), r.Height()), Images.at(layer.Image));
            if (layer.Mode == DrawMode::Opaque)
                painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
    }

private:
    const LayerScene& Scene;
    uint32_t ViewColour;
    QImage Background;
    std::unordered_map<const Picture*, QImage> Images;
};

} // namespace fixture
