#pragma once
// The toolkit services the main window's commands rely on that end a user's
// wait or the program itself: the desktop's message boxes and web addresses,
// and the end of the program. Tests replace them to answer the boxes and to
// see the end requested.

#include "languages_help/desktop_services.h"

namespace sorvane {

class WindowServices : public DesktopServices {
public:
    // Ends the program at once, also from inside a nested event loop.
    virtual void EndProgram() = 0;
};

// The real services: Qt message boxes, the desktop's opener, and an
// immediate end of the process.
class ToolkitWindowServices : public WindowServices {
public:
    bool AskYesNo(QWidget* parent, const QString& prompt, const QString& title) override;
    void ShowMessage(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::None) override;
    int OpenWebAddress(const QString& address) override;
    [[noreturn]] void EndProgram() override;
};

}  // namespace sorvane
