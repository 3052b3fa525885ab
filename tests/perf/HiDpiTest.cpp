// On a screen that scales by two, the play view, the preview box and the JPEG
// pictures must stay sharp: every picture pixel becomes a uniform 2 × 2 block,
// never a blur of its neighbours. Its own binary: the scale is set before the
// QApplication exists.
#include "FormHarness.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include <cstdlib>

namespace {

// The widget as the screen gets it, in device pixels.
QImage DevicePixels(QWidget* widget)
{
    const QPixmap shot = widget->grab();
    EXPECT_DOUBLE_EQ(shot.devicePixelRatio(), 2.0);
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

// The blocks that are not one colour, and how many blocks differ from their
// right-hand neighbour (so a uniform grey cannot pass for a sharp picture).
struct Blocks {
    int Mixed = 0;
    int Edges = 0;
};

Blocks Examine(const QImage& image)
{
    Blocks b;
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p)
                ++b.Mixed;
            if (x + 2 < image.width() && image.pixel(x + 2, y) != p)
                ++b.Edges;
        }
    return b;
}

class HiDpi : public WindowTest {
protected:
    void SetUp() override
    {
        Folder.CopyShippedLevelsAndBackgrounds();
        StartGame();
        Form->show();
        QCoreApplication::processEvents();
        ASSERT_DOUBLE_EQ(Form->devicePixelRatioF(), 2.0) << "QT_SCALE_FACTOR=2 did not take";
    }
};

} // namespace

TEST_F(HiDpi, PlayViewAndPreviewAreReplicatedPixelForPixel)
{
    ChooseMode(6);
    Form->SpeedButton1Click(); // a large board over its background
    const BoardShape& s = TheBoard().CurrentShape;
    const QPoint p = BayCentre(s.MinColumn, s.MinRow);
    Form->Image321MouseMove(p.x(), p.y());
    Form->FormKeyUp(KeySpace);
    QCoreApplication::processEvents();
    for (QWidget* widget : {static_cast<QWidget*>(Form->Image321), static_cast<QWidget*>(Form->Image322)}) {
        const QImage image = DevicePixels(widget);
        EXPECT_EQ(image.size(), widget->size() * 2) << widget->objectName().toStdString();
        const Blocks b = Examine(image);
        EXPECT_EQ(b.Mixed, 0) << widget->objectName().toStdString();
        EXPECT_GT(b.Edges, 100) << widget->objectName().toStdString();
    }
}

TEST_F(HiDpi, JpegPicturesAreReplicatedPixelForPixel)
{
    for (int n : {1, 2, 10, 11, 15}) {
        Form->B_STAGESClick(); // the shop page shows its pictures
        QWidget* picture = Form->JPEGImage[static_cast<size_t>(n)];
        const QImage image = DevicePixels(picture);
        const Blocks b = Examine(image);
        EXPECT_EQ(b.Mixed, 0) << "JPEGImage" << n;
        EXPECT_GT(b.Edges, 10) << "JPEGImage" << n;
    }
}
