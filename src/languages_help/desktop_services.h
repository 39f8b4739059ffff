#pragma once
// What the languages, help and About windows ask of the desktop: modal message
// boxes and opening a web address. The main window's services add the end of
// the program; tests replace them all to answer the boxes and see the
// addresses without a desktop.

#include <QString>

class QWidget;

namespace sorvane {

enum class MessageIcon { None, Warning, Critical };

class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // A modal box with Yes and No, no icon, Yes as the default button.
    // True when the user answered Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& prompt, const QString& title) = 0;

    // A modal box with OK only, titled "Sorvane".
    virtual void ShowMessage(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::None) = 0;

    // Hands a full web address to the desktop. The answer is a number above
    // 32 when the desktop has started opening it; 32 or less is the opener's
    // failure (see desktop_launcher.h), which the Help menu reports.
    virtual int OpenWebAddress(const QString& address) = 0;
};

// The title of every box that is given none of its own.
QString ProgramTitle();

}  // namespace sorvane
