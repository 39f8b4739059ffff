#pragma once
// The toolkit services the main window's commands rely on that end a user's
// wait or the program itself: modal message boxes and the end of the program.
// Tests replace them to answer the boxes and to see the end requested.

#include <QString>

class QWidget;

namespace sorvane {

class WindowServices {
public:
    virtual ~WindowServices() = default;

    // A modal box with Yes and No, no icon, Yes as the default button.
    // True when the user answered Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& prompt, const QString& title) = 0;

    // A modal box with OK only, no icon, titled "Sorvane".
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;

    // Ends the program at once, also from inside a nested event loop.
    virtual void EndProgram() = 0;
};

// The real services: Qt message boxes, and an immediate end of the process.
class ToolkitWindowServices : public WindowServices {
public:
    bool AskYesNo(QWidget* parent, const QString& prompt, const QString& title) override;
    void ShowMessage(QWidget* parent, const QString& text) override;
    [[noreturn]] void EndProgram() override;
};

// The title of every box that is given none of its own.
QString ProgramTitle();

}  // namespace sorvane
