#pragma once

class QObject;
class TForm1;

// The window's key preview: every key release of the window reaches
// FormKeyUp once, before the focused widget sees it. The filter belongs to the
// form and leaves the application with it.
QObject* InstallKeyPreview(TForm1& form);

// Windows virtual key code of a Qt key (Backspace 8, Space 32, letters and digits
// as their upper-case characters); 0 for keys the game has no code for.
int VirtualKeyOf(int qtKey);
