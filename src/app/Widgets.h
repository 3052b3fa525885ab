#pragma once
// The painted widgets of the window: header, pages and shop, each drawn as
// designed. The play view and the preview box are LayerSceneWidgets.
#include "view/Picture.h"

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QSpinBox>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

// Arial with a character height in pixels; resolves to Liberation Sans on Linux.
QFont ArialFont(int pixelHeight, bool bold = false, bool italic = false);

// A picture copied into an image the painter can draw.
QImage ToImage(const Picture& picture);

// Row y of a mirrored vertical gradient of the given height: the start colour at the
// top, the end colour in the middle row, falling back towards the start below it.
QRgb GradientRow(int y, int height, QRgb start, QRgb end);

// VrGradient1: the header's background, one-pixel bands across the full width.
class GradientPanel : public QWidget {
public:
    GradientPanel(QRgb start, QRgb end, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QRgb Start, End;
};

// Panel1, Panel2: a fill colour inside a one-pixel raised bevel.
class BevelPanel : public QWidget {
public:
    BevelPanel(QColor fill, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor Fill;
};

// Text drawn in three passes: an extrusion shaded from far to near, an outline at
// the eight neighbouring offsets, then the face.
struct EffectStyle {
    QFont Font;
    QColor Face;
    QColor Outline;
    QColor Near;
    QColor Far;
    int Depth = 10;
};
// `origin` is the top-left of the text's own place (the face pass).
void DrawEffectText(QPainter& painter, QPoint origin, const QString& text, const EffectStyle& style);

// fcLabel1, fcLabel2: transparent effect text from the label's top-left corner.
class EffectLabel : public QWidget {
public:
    EffectLabel(const QString& text, const EffectStyle& style, QWidget* parent);
    QString Text() const { return Caption; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString Caption;
    EffectStyle Style;
};

// B_MENU, B_GAME, B_STAGES: a rounded grey face with an effect caption.
class ShapeButton : public QAbstractButton {
public:
    ShapeButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    EffectStyle Style;
};

// SpeedButton1 … 4: a caption over the page, a border only while hovered.
// Never takes the focus, so a number typed into a spin box stays unclamped.
// A doubled ampersand in the caption shows as one.
class SpeedButton : public QAbstractButton {
public:
    SpeedButton(const QString& caption, const QFont& font, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    bool Hover = false;
};

// ColorButton1 … 8: a coloured face with a three-pixel bevel, swapped while held.
// Focused, it clicks on Space and, like the platform's push buttons, on Return.
class ColorButton : public QAbstractButton {
public:
    ColorButton(QColor face, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QColor FaceColour;
};

// SpinEdit2, SpinEdit3: black, white bold digits. The box keeps a range of its
// own: a number is clamped into it when code sets it, by the arrows and when the
// focus moves to another control of the window, while a new maximum, a message
// box or another window leaves the number alone and typed digits stay as typed.
// Its range and value functions hide QSpinBox's, whose range only bounds what
// can be typed.
class SpinEdit : public QSpinBox {
public:
    explicit SpinEdit(QWidget* parent);
    int minimum() const { return Lowest; }
    int maximum() const { return Highest; }
    void setMaximum(int highest) { Highest = highest; }
    // Clamped to the range.
    void setValue(int value);
    int value() const { return TypedNumber(); }
    // The number as the box shows it right now: its text's value, or the minimum
    // when the text is not a number. Typed digits may lie outside the range.
    int32_t TypedNumber() const;
    // Writes TypedNumber back to the box, clamped to the range.
    void ClampTyped();

protected:
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int Lowest = 1;
    int Highest = 2;
};

// A one-line, centred label whose texts and sizes are made ahead, so that
// changing its text allocates nothing (QLabel::setText does, through Qt's
// accessibility cache). Draws exactly as a QLabel with the same text would.
class CounterLabel : public QWidget {
public:
    CounterLabel(const QString& text, const QFont& font, QWidget* parent);
    // `size` is what a QLabel auto-sizes to for this text (MeasuredSize).
    void SetText(const QString& text, QSize size);
    const QString& text() const { return Caption; }
    // A QLabel's auto size for a text in this label's font.
    QSize MeasuredSize(const QString& text) const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString Caption;
};

// JPEGImageN: a picture drawn at its own size from the top-left corner.
class PictureBox : public QWidget {
public:
    explicit PictureBox(QWidget* parent);
    void SetPicture(const Picture& picture, const std::string& source);
    // Shares an image another box shows (one copy of the page background for two pages).
    void SetImage(const QImage& image, const std::string& source);
    void Clear();
    const QImage& Image() const { return Shown; }
    // Where the picture came from: a file path, or a name of the built-in artwork.
    const std::string& Source() const { return From; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage Shown;
    std::string From;
};

// Label2 … Label7: a transparent label that can be clicked.
class ClickLabel : public QLabel {
public:
    ClickLabel(const QString& text, QWidget* parent);
    std::function<void()> OnClick;

protected:
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    bool Pressed = false;
};

// Shape1, Shape2: a one-pixel rectangle outline with no fill.
class FrameShape : public QWidget {
public:
    FrameShape(QColor pen, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor Pen;
};
