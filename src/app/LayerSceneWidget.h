#pragma once
#include "view/LayerScene.h"

#include <QColor>
#include <QElapsedTimer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstddef>
#include <functional>
#include <vector>

// Image321, Image322: shows a layer scene's frame without copying it. The outer
// colour fills whatever of the widget the frame does not cover.
class LayerSceneWidget : public QWidget {
public:
    LayerSceneWidget(const LayerScene& scene, QColor outer, QWidget* parent);
    // Asks Qt to repaint only what the scene's repaint changed: at once when the
    // screen has not been updated for a frame (1/60 s), else at the end of that
    // frame, together with whatever else changes meanwhile. A mouse reporting
    // hundreds of moves a second then costs the screen sixty updates.
    void Repaint(const std::vector<Rect>& changed);
    static constexpr int FrameMilliseconds = 16;
    // Hands what waits for the end of the frame to Qt now (the benchmarks
    // measure a repaint per event without waiting out the frame).
    void UpdatePending();
    // Pointer events in the view's own pixels.
    std::function<void(int x, int y)> OnMouseUp;
    std::function<void(int x, int y)> OnMouseMove;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;

private:
    const LayerScene& Scene;
    QColor Outer;
    // What waits for the end of the frame; more rectangles than fit are merged.
    std::array<QRect, 8> Pending;
    size_t PendingCount = 0;
    QTimer FrameEnd;
    QElapsedTimer SinceUpdate;
};
