// The painted widgets. CounterLabel, Label1's cars-left counter, keeps its texts
// made ahead; it must still look and size itself exactly as the auto-sized label
// it stands in for.
#include "FormHarness.h"

#include <QImage>
#include <QLabel>
#include <QPainter>

namespace {

QImage Rendered(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

TEST_F(WindowTest, CarsLeftCounterMatchesAnAutoSizedLabelForEveryCount)
{
    StartGame();
    QLabel sample;
    sample.setFont(Form->Label1->font());
    sample.setAlignment(Qt::AlignCenter);
    for (int32_t n = 0; n <= GridColumns * GridRows * SlotCount + 1; ++n) {
        FormProbe::SceneOf(*Form).ShowCarsLeft(n);
        sample.setText(QString::fromStdString(CarsLeftText(n)));
        sample.adjustSize();
        ASSERT_EQ(Text(Form->Label1), CarsLeftText(n));
        ASSERT_EQ(Form->Label1->size(), sample.size()) << n << " cars";
        ASSERT_EQ(Form->Label1->pos(), QPoint(672, 4));
    }
}

TEST_F(WindowTest, CarsLeftCounterDrawsTheSamePixelsAsALabel)
{
    StartGame();
    for (int32_t n : {0, 7, 48, 136}) {
        FormProbe::SceneOf(*Form).ShowCarsLeft(n);
        QLabel label(QString::fromStdString(CarsLeftText(n)));
        label.setFont(Form->Label1->font());
        label.setPalette(Form->Label1->palette());
        label.setAlignment(Qt::AlignCenter);
        label.resize(Form->Label1->size());
        const QImage ours = Rendered(*Form->Label1), theirs = Rendered(label);
        EXPECT_TRUE(ours == theirs) << n << " cars";
        int white = 0; // the text is there, not an empty box on both sides
        for (int y = 0; y < ours.height(); ++y)
            for (int x = 0; x < ours.width(); ++x)
                white += ours.pixelColor(x, y) == QColor(Qt::white);
        EXPECT_GT(white, 40) << n << " cars";
    }
}
