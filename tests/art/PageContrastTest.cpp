// Every text of the MENU and STAGES pages stands out from the page background
// behind it: the contrast ratio (WCAG 2) between the text's colour and the 90th
// percentile of the luminance of the background inside the text's rectangle.
// The rectangles come from the window itself, the background from the game's
// own decode of the built-in picture.
#include "FormHarness.h"
#include "view/ImageCatalogue.h"
#include "view/PictureFiles.h"

#include <QLabel>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

double Linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(QRgb c) { return 0.2126 * Linear(qRed(c)) + 0.7152 * Linear(qGreen(c)) + 0.0722 * Linear(qBlue(c)); }

double Contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

// The luminance that nine tenths of the background inside `r` stay at or under.
double GroundLuminance(const Picture& background, QRect r)
{
    r &= QRect(0, 0, background.Width, background.Height);
    std::vector<double> values;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            values.push_back(Luminance(background.At(x, y)));
    if (values.empty())
        return 0;
    const size_t at = static_cast<size_t>(0.9 * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at), values.end());
    return values[at];
}

struct PageText {
    QWidget* Widget;
    QColor Colour;
    double Needed;
};

class PageContrast : public WindowTest {
protected:
    void SetUp() override
    {
        StartGame();
        ASSERT_FALSE(Form->StartUpFailed());
        const EmbeddedBytes bytes = BuiltInArtwork(Artwork::PageBackground);
        Background = ReadJpegBytes(bytes.Data, bytes.Size).Image;
    }

    // Checks every text against the background box it lies on; returns the weakest ratio.
    double CheckPage(const char* page, const PictureBox* box, const std::vector<PageText>& texts)
    {
        // The box shows the very pixels measured here.
        const QImage shown = box->Image().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(shown.width(), Background.Width);
        EXPECT_EQ(shown.height(), Background.Height);
        if (shown.width() == Background.Width && shown.height() == Background.Height) {
            for (int y = 0; y < shown.height(); y += 7)
                for (int x = 0; x < shown.width(); x += 7)
                    EXPECT_EQ(shown.pixel(x, y), Background.At(x, y)) << page << " at " << x << "," << y;
        }
        double weakest = 1e9;
        for (const PageText& t : texts) {
            const QRect r(t.Widget->mapTo(box->parentWidget(), QPoint(0, 0)) - box->pos(), t.Widget->size());
            const double ratio = Contrast(Luminance(t.Colour.rgb()), GroundLuminance(Background, r));
            const std::string name = t.Widget->objectName().toStdString();
            std::printf("%s %-13s %3d,%3d %3dx%2d  %5.2f:1\n", page, name.c_str(), r.left(), r.top(), r.width(), r.height(), ratio);
            EXPECT_GE(ratio, t.Needed) << page << " " << name;
            weakest = std::min(weakest, ratio);
        }
        return weakest;
    }

    static QColor TextColour(const QWidget* w) { return w->palette().color(QPalette::WindowText); }

    Picture Background;
};

} // namespace

TEST_F(PageContrast, MenuTextsStandOutFromTheBackground)
{
    // A mode label is grey whenever another mode is chosen: measure all six in
    // the darker of the two colours they show.
    QColor mode = TextColour(Form->ModeLabel[1]);
    for (int m = 2; m <= 6; ++m)
        if (qGray(TextColour(Form->ModeLabel[static_cast<size_t>(m)]).rgb()) < qGray(mode.rgb()))
            mode = TextColour(Form->ModeLabel[static_cast<size_t>(m)]);
    EXPECT_EQ(mode, QColor(0x80, 0x80, 0x80));
    std::vector<PageText> texts;
    for (int m = 1; m <= 6; ++m)
        texts.push_back({Form->ModeLabel[static_cast<size_t>(m)], mode, 4.5});
    // The flat buttons paint their captions white.
    for (QWidget* button : {Form->SpeedButton1, Form->SpeedButton2, Form->SpeedButton3, Form->SpeedButton4})
        texts.push_back({button, Qt::white, 4.5});
    // The credit lines keep their dark red, which reaches 3.2:1 on black at best.
    texts.push_back({Form->Label8, TextColour(Form->Label8), 3.0});
    texts.push_back({Form->Label9, TextColour(Form->Label9), 3.0});
    std::printf("MENU weakest %.2f:1\n", CheckPage("MENU", Form->JPEGImage[1], texts));
}

TEST_F(PageContrast, ShopTextsStandOutFromTheBackground)
{
    std::vector<PageText> texts;
    for (int n = 11; n <= 34; ++n)
        texts.push_back({Form->ShopLabel[static_cast<size_t>(n)], TextColour(Form->ShopLabel[static_cast<size_t>(n)]), 4.5});
    std::printf("STAGES weakest %.2f:1\n", CheckPage("STAGES", Form->JPEGImage[10], texts));
}
