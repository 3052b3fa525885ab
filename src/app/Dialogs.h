#pragma once
#include <string>

class QWidget;

// Every message box of the game goes through here, so tests can answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Caption "Vroomzle", no icon, OK.
    virtual void Information(const std::string& text) = 0;
    // Caption "Vroomzle", stop icon, OK. The text arrives with its full stop.
    virtual void Error(const std::string& text) = 0;
    // Caption "Confirm", question icon, Yes and No; No is the default, and Escape and
    // the close box answer No too.
    virtual bool Confirm(const std::string& text) = 0;
};

// The application's title, the caption of the information and error boxes.
extern const char* const ApplicationTitle;

// The real boxes, modal over the main window.
class MessageBoxDialogs : public Dialogs {
public:
    explicit MessageBoxDialogs(QWidget* parent = nullptr) : Parent(parent) {}
    void SetParent(QWidget* parent) { Parent = parent; }

    void Information(const std::string& text) override;
    void Error(const std::string& text) override;
    bool Confirm(const std::string& text) override;

private:
    QWidget* Parent;
};
