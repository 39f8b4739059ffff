#pragma once
// Helpers for the main window tests: services that answer message boxes and
// record them instead of showing them, a window under test, and key presses
// delivered the way the platform delivers them (shortcuts first).

#include <QString>
#include <Qt>
#include <functional>
#include <memory>
#include <vector>

#include "mainwindow/main_window.h"
#include "mainwindow/window_services.h"

class QWidget;

namespace sorvane::test {

class RecordingWindowServices : public WindowServices {
public:
    struct Question {
        QString prompt;
        QString title;
    };

    bool AskYesNo(QWidget* parent, const QString& prompt, const QString& title) override;
    void ShowMessage(QWidget* parent, const QString& text) override;
    void EndProgram() override { ++endRequests; }
    void Reset() { *this = RecordingWindowServices(); }

    bool answerYes = true;
    std::vector<Question> questions;
    std::vector<QString> messages;
    int endRequests = 0;
    // Runs while a message box would be open, to look at the window then.
    std::function<void(const QString&)> onMessage;
};

// A main window with recording services; shown and made the active window
// so that focus and access keys behave as on a desktop.
struct WindowUnderTest {
    WindowUnderTest();
    ~WindowUnderTest();

    RecordingWindowServices services;
    std::unique_ptr<MainWindow> window;
    const FormControls& c() const { return window->Controls(); }
};

// Offers the key to shortcuts first and then delivers press and release to
// the focus widget (or `target` when given).
void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString& text = QString(), QWidget* target = nullptr);

// Lets events (timers included) run for about that long.
void ProcessEventsFor(int milliseconds);

// Types each character of `text` as a key press.
void TypeText(QWidget* target, const QString& text);

}  // namespace sorvane::test
