#pragma once
#include <functional>

class QObject;
class QWidget;

// The window's key preview: every key release of the window reaches `keyUp`
// (FormKeyUp) once, with its virtual key code, before the focused widget sees
// it. The filter belongs to the window and leaves the application with it.
QObject* InstallKeyPreview(QWidget& window, std::function<void(int key)> keyUp);

// Windows virtual key code of a Qt key (Backspace 8, Space 32, letters and digits
// as their upper-case characters); 0 for keys the game has no code for.
int VirtualKeyOf(int qtKey);
