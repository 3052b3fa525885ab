#include "app/Dialogs.h"

#include <QMessageBox>

const char* const ApplicationTitle = "Vroomzle";

namespace {

QMessageBox::StandardButton Run(QWidget* parent, QMessageBox::Icon icon, const char* caption, const std::string& text,
                                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
                                QMessageBox::StandardButton escapeButton)
{
    QMessageBox box(icon, QString::fromUtf8(caption), QString::fromStdString(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(escapeButton);
    const int answer = box.exec();
    return static_cast<QMessageBox::StandardButton>(answer);
}

} // namespace

void MessageBoxDialogs::Information(const std::string& text)
{
    Run(Parent, QMessageBox::NoIcon, ApplicationTitle, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxDialogs::Error(const std::string& text)
{
    Run(Parent, QMessageBox::Critical, ApplicationTitle, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxDialogs::Confirm(const std::string& text)
{
    // The question costs the player an item, so No is the default: the shop button
    // keeps the focus after a click, and a second Space or Return must not sell.
    // Closing the box by its frame reports the escape button, so only Yes sells.
    return Run(Parent, QMessageBox::Question, "Confirm", text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
               QMessageBox::No) == QMessageBox::Yes;
}
