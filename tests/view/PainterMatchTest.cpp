// The compositor and QPainter draw the dealt-looking play view alike, pixel for
// pixel, so the compose benchmarks compare the same work.
#include "view/Compositor.h"

#include "PainterScene.h"
#include "view/SceneFixtures.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>

TEST(PainterMatch, CompositorFrameEqualsQPainterForTheDealtView)
{
    const auto view = std::make_unique<fixture::DealtView>(72);
    const fixture::PainterScene painter(view->Play, Rgb(0, 0, 0));
    QImage target(768, 480, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::magenta); // anything left unpainted shows
    painter.Paint(target);

    const ComposeKernel previous = ActiveKernel();
    for (ComposeKernel kernel : AvailableKernels()) {
        ChooseKernel(kernel);
        view->Play.RecomposeAll();
        const Picture& frame = view->Play.Frame();
        int differ = 0;
        for (int32_t y = 0; y < 480; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(target.constScanLine(y));
            for (int32_t x = 0; x < 768; ++x) {
                // The frame is opaque, so premultiplied and straight colours agree.
                ASSERT_EQ(frame.At(x, y) >> 24, 255u);
                differ += (frame.At(x, y) & 0xFFFFFFu) != (row[x] & 0xFFFFFFu);
            }
        }
        EXPECT_EQ(differ, 0) << "kernel " << static_cast<int>(kernel);
    }
    ChooseKernel(previous);

    // The scene really has every kind of layer in view.
    int visible = 0;
    for (int i = 0; i < view->Play.LayerCount(); ++i)
        visible += view->Play.Layer(i).Visible;
    EXPECT_GE(visible, 72 + 2 + 60);
}
