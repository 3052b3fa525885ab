#include "app/LayerSceneWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <functional>
#include <numeric>

LayerSceneWidget::LayerSceneWidget(const LayerScene& scene, QColor outer, QWidget* parent)
    : QWidget(parent), Scene(scene), Outer(outer)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    FrameEnd.setSingleShot(true);
    FrameEnd.setTimerType(Qt::PreciseTimer);
    QObject::connect(&FrameEnd, &QTimer::timeout, this, [this] { UpdatePending(); });
}

void LayerSceneWidget::Repaint(const std::vector<Rect>& changed)
{
    // A hidden view is painted whole when it shows again.
    if (!isVisible())
        return;
    for (const Rect& r : changed) {
        const QRect rect(r.Left, r.Top, r.Width(), r.Height());
        if (PendingCount < Pending.size()) {
            Pending[PendingCount++] = rect;
        } else {
            Pending[0] = std::accumulate(Pending.begin(), Pending.end(), rect, std::bit_or<QRect>());
            PendingCount = 1;
        }
    }
    if (PendingCount == 0 || FrameEnd.isActive())
        return;
    const qint64 since = SinceUpdate.isValid() ? SinceUpdate.elapsed() : FrameMilliseconds;
    if (since >= FrameMilliseconds)
        UpdatePending();
    else
        FrameEnd.start(static_cast<int>(FrameMilliseconds - since));
}

void LayerSceneWidget::UpdatePending()
{
    FrameEnd.stop();
    for (size_t i = 0; i < PendingCount; ++i)
        update(Pending[i]);
    PendingCount = 0;
    SinceUpdate.start();
}

void LayerSceneWidget::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const Picture& frame = Scene.Frame();
    if (frame.Empty()) {
        p.fillRect(rect(), Outer);
        return;
    }
    // The composed frame is opaque, so Qt may take its bytes as they are: the
    // backing store copies RGB32 without converting a pixel.
    const QImage view(reinterpret_cast<const uchar*>(frame.Pixels.data()), frame.Width, frame.Height,
                      static_cast<qsizetype>(frame.Width) * 4, QImage::Format_RGB32);
    const QRect covered(0, 0, frame.Width, frame.Height);
    // On a scaled screen each pixel is replicated, never blurred into its neighbours.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (const QRect& dirty : event->region()) {
        const QRect inside = dirty & covered;
        if (!inside.isEmpty())
            p.drawImage(inside.topLeft(), view, inside);
        if (inside != dirty)
            for (const QRect& r : QRegion(dirty) - QRegion(covered))
                p.fillRect(r, Outer);
    }
}

void LayerSceneWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (OnMouseUp) {
        const QPoint at = event->position().toPoint();
        OnMouseUp(at.x(), at.y());
    }
}

void LayerSceneWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (OnMouseMove) {
        const QPoint at = event->position().toPoint();
        OnMouseMove(at.x(), at.y());
    }
}
