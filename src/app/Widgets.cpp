#include "app/Widgets.h"

#include <QEnterEvent>
#include <QLineEdit>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QPainterPath>

#include <algorithm>
#include <functional>
#include <cmath>

namespace {

const QColor BevelLight(255, 255, 255);
const QColor BevelShadow(160, 160, 160);

int Lerp(int far, int near, int i, int steps)
{
    return static_cast<int>(std::lround(far + static_cast<double>(near - far) * i / steps));
}

QColor ShiftChannels(QColor c, int by)
{
    return QColor(std::clamp(c.red() + by, 0, 255), std::clamp(c.green() + by, 0, 255), std::clamp(c.blue() + by, 0, 255));
}

void DrawRaisedEdge(QPainter& p, const QRect& r, const QColor& light, const QColor& dark)
{
    p.setPen(light);
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(dark);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

} // namespace

QFont ArialFont(int pixelHeight, bool bold, bool italic)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QImage ToImage(const Picture& picture)
{
    if (picture.Empty())
        return QImage();
    const QImage view(reinterpret_cast<const uchar*>(picture.Pixels.data()), picture.Width, picture.Height,
                      static_cast<qsizetype>(picture.Width) * 4, QImage::Format_ARGB32);
    return view.copy();
}

QRgb GradientRow(int y, int height, QRgb start, QRgb end)
{
    const int h = height / 2;
    if (h <= 0)
        return start;
    const int d = y < h ? y : 2 * h - y;
    auto channel = [&](int s, int e) { return s + d * (e - s) / h; };
    return qRgb(channel(qRed(start), qRed(end)), channel(qGreen(start), qGreen(end)), channel(qBlue(start), qBlue(end)));
}

GradientPanel::GradientPanel(QRgb start, QRgb end, QWidget* parent) : QWidget(parent), Start(start), End(end)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int H = height();
    for (int y = 0; y < H; ++y)
        p.fillRect(0, y, width(), 1, QColor(GradientRow(y, H, Start, End)));
}

BevelPanel::BevelPanel(QColor fill, QWidget* parent) : QWidget(parent), Fill(fill) {}

void BevelPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Fill);
    DrawRaisedEdge(p, rect(), BevelLight, BevelShadow);
}

void DrawEffectText(QPainter& painter, QPoint origin, const QString& text, const EffectStyle& style)
{
    painter.save();
    painter.setFont(style.Font);
    const QPoint base = origin + QPoint(0, QFontMetrics(style.Font).ascent());
    // The extrusion: the farthest copy first, the copy under the letters in the near colour.
    for (int i = 1; i <= style.Depth; ++i) {
        const int offset = style.Depth - i;
        painter.setPen(QColor(Lerp(style.Far.red(), style.Near.red(), i, style.Depth),
                              Lerp(style.Far.green(), style.Near.green(), i, style.Depth),
                              Lerp(style.Far.blue(), style.Near.blue(), i, style.Depth)));
        painter.drawText(base + QPoint(offset, offset), text);
    }
    painter.setPen(style.Outline);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx != 0 || dy != 0)
                painter.drawText(base + QPoint(dx, dy), text);
    painter.setPen(style.Face);
    painter.drawText(base, text);
    painter.restore();
}

EffectLabel::EffectLabel(const QString& text, const EffectStyle& style, QWidget* parent)
    : QWidget(parent), Caption(text), Style(style)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void EffectLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    // One pixel in, so the outline's upper and left neighbours stay inside the label.
    DrawEffectText(p, QPoint(1, 1), Caption, Style);
}

ShapeButton::ShapeButton(const QString& caption, QWidget* parent) : QAbstractButton(parent)
{
    setText(caption);
    setFocusPolicy(Qt::NoFocus);
    Style.Font = ArialFont(21, true);
    Style.Face = QColor(0xFF, 0x00, 0x00);
    Style.Outline = QColor(0xFF, 0xD6, 0xC1);
    Style.Near = QColor(0x41, 0x41, 0x41);
    Style.Far = QColor(0xC0, 0xC0, 0xC0);
}

void ShapeButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor face(0xC1, 0xC1, 0xC1);
    // Highlight shading: white at the top edge blending into the face colour.
    QLinearGradient shade(0, 0, 0, height());
    shade.setColorAt(0.0, isDown() ? face : Qt::white);
    shade.setColorAt(0.55, face);
    shade.setColorAt(1.0, isDown() ? Qt::white : face.darker(115));
    p.setBrush(shade);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRoundedRect(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0), 12.5, 12.5);

    const QFontMetrics fm(Style.Font);
    const int tw = fm.horizontalAdvance(text());
    const int th = fm.ascent() + fm.descent();
    DrawEffectText(p, QPoint((width() - tw) / 2 - 2, (height() - th) / 2 + 2), text(), Style);
}

SpeedButton::SpeedButton(const QString& caption, const QFont& font, QWidget* parent) : QAbstractButton(parent)
{
    setText(caption);
    setFont(font);
    setFocusPolicy(Qt::NoFocus);
}

void SpeedButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (isDown())
        DrawRaisedEdge(p, rect(), BevelShadow, BevelLight);
    else if (Hover)
        DrawRaisedEdge(p, rect(), BevelLight, BevelShadow);
    p.setPen(Qt::white);
    p.setFont(font());
    p.drawText(rect().translated(isDown() ? 1 : 0, isDown() ? 1 : 0), Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

void SpeedButton::enterEvent(QEnterEvent* event)
{
    Hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void SpeedButton::leaveEvent(QEvent* event)
{
    Hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

ColorButton::ColorButton(QColor face, QWidget* parent) : QAbstractButton(parent), FaceColour(face)
{
    setFocusPolicy(Qt::StrongFocus);
    setFont(ArialFont(13, true));
}

void ColorButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void ColorButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), FaceColour);
    const QColor light = ShiftChannels(FaceColour, 64);
    const QColor dark = ShiftChannels(FaceColour, -64);
    const bool down = isDown();
    for (int i = 0; i < 3; ++i)
        DrawRaisedEdge(p, rect().adjusted(i, i, -i, -i), down ? dark : light, down ? light : dark);
    p.setPen(Qt::black);
    p.setFont(font());
    p.drawText(rect().translated(down ? 1 : 0, down ? 1 : 0), Qt::AlignCenter, text());
    if (hasFocus()) {
        QPen dotted(Qt::black, 1, Qt::DotLine);
        p.setPen(dotted);
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

SpinEdit::SpinEdit(QWidget* parent) : QSpinBox(parent)
{
    // Any nine digits may be typed; the game's own range is applied as it says.
    QSpinBox::setRange(0, 999999999);
    setValue(1);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setFont(ArialFont(12, true));
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Text, Qt::white);
    pal.setColor(QPalette::Highlight, QColor(0x80, 0x80, 0x80));
    pal.setColor(QPalette::HighlightedText, Qt::white);
    setPalette(pal);
}

void SpinEdit::setValue(int value)
{
    QSpinBox::setValue(std::clamp(value, Lowest, std::max(Lowest, Highest)));
}

int32_t SpinEdit::TypedNumber() const
{
    bool ok = false;
    const int number = cleanText().toInt(&ok);
    return ok ? number : Lowest;
}

void SpinEdit::ClampTyped() { setValue(TypedNumber()); }

void SpinEdit::stepBy(int steps)
{
    setValue(TypedNumber() + steps);
    selectAll();
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const
{
    // An arrow is live wherever it would change the number shown.
    const int number = TypedNumber(), top = std::max(Lowest, Highest);
    const QString shown = cleanText();
    StepEnabled enabled = StepNone;
    if (QString::number(std::clamp(number + 1, Lowest, top)) != shown)
        enabled |= StepUpEnabled;
    if (QString::number(std::clamp(number - 1, Lowest, top)) != shown)
        enabled |= StepDownEnabled;
    return enabled;
}

void SpinEdit::focusOutEvent(QFocusEvent* event)
{
    // Only a move to another control of the window clamps: a message box opening
    // or another window taken up leaves the focus here, and the text as the player
    // left it. Qt itself would write an emptied text over with a number there.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        QSpinBox::focusOutEvent(event);
        ClampTyped();
        return;
    }
    const QString text = lineEdit()->text();
    QSpinBox::focusOutEvent(event);
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
}

CounterLabel::CounterLabel(const QString& text, const QFont& font, QWidget* parent) : QWidget(parent)
{
    setFont(font);
    SetText(text, MeasuredSize(text));
}

void CounterLabel::SetText(const QString& text, QSize size)
{
    if (text != Caption) {
        Caption = text;
        update();
    }
    resize(size);
}

QSize CounterLabel::MeasuredSize(const QString& text) const
{
    // A frameless QLabel measures its plain text without the centring flags.
    return QFontMetrics(font()).boundingRect(0, 0, 2000, 2000, 0, text).size();
}

void CounterLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    style()->drawItemText(&p, rect(), Qt::AlignCenter, palette(), isEnabled(), Caption, QPalette::WindowText);
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PictureBox::SetPicture(const Picture& picture, const std::string& source)
{
    Shown = ToImage(picture);
    From = source;
    update();
}

void PictureBox::SetImage(const QImage& image, const std::string& source)
{
    Shown = image;
    From = source;
    update();
}

void PictureBox::Clear()
{
    Shown = QImage();
    From.clear();
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    if (Shown.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false); // sharp on scaled screens
    p.drawImage(0, 0, Shown);
}

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    Pressed = event->button() == Qt::LeftButton;
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = Pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    Pressed = false;
    if (click && OnClick)
        OnClick();
}

FrameShape::FrameShape(QColor pen, QWidget* parent) : QWidget(parent), Pen(pen)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void FrameShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(Pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, width() - 1, height() - 1);
}
