#include "app/KeyPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

// A filter on the application sees a key release once for every widget it
// propagates through, so only the first receiver counts: the window's focus
// widget, or the window itself when nothing in it has the focus.
class KeyPreviewFilter : public QObject {
public:
    KeyPreviewFilter(QWidget& window, std::function<void(int)> keyUp)
        : QObject(&window), Window(window), KeyUp(std::move(keyUp))
    {
        qApp->installEventFilter(this);
    }
    ~KeyPreviewFilter() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyRelease)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat())
            return false;
        auto* target = qobject_cast<QWidget*>(watched);
        if (target == nullptr || target->window() != &Window)
            return false;
        QWidget* focus = Window.focusWidget();
        if (target != (focus != nullptr ? focus : &Window))
            return false;
        KeyUp(VirtualKeyOf(key->key()));
        return false;
    }

private:
    QWidget& Window;
    std::function<void(int)> KeyUp;
};

} // namespace

QObject* InstallKeyPreview(QWidget& window, std::function<void(int key)> keyUp)
{
    return new KeyPreviewFilter(window, std::move(keyUp));
}

int VirtualKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Delete: return 46;
    default: break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey; // Qt uses the same codes for these
    return 0;
}
