#pragma once
// A main window whose message boxes, web addresses and program end are recorded instead of shown; keys as the
// platform sends them.

#include <QApplication>
#include <functional>
#include <memory>
#include <vector>

#include "mainwindow/main_window.h"
#include "mainwindow/window_services.h"

namespace sorvane::test {

class RecordingWindowServices : public WindowServices {
public:
    struct Question { QString prompt, title; };
    bool AskYesNo(QWidget* parent, const QString& prompt, const QString& title) override {
        questions.push_back({prompt, title});
        if (askForReal) return ToolkitWindowServices().AskYesNo(parent, prompt, title);
        return answerYes;
    }
    void ShowMessage(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::None) override {
        messages.push_back(text);
        boxes.push_back({icon, parent});
        if (onMessage) onMessage();
    }
    int OpenWebAddress(const QString& address) override {
        addresses.push_back(address);
        return desktopResult;
    }
    void EndProgram() override { ++endRequests; }

    bool answerYes = true;
    bool askForReal = false;  // the program's own question box, answered by keys
    int desktopResult = 42;  // above 32: the desktop took the address
    std::vector<Question> questions;
    std::vector<QString> messages;
    struct Box { MessageIcon icon; QWidget* parent; };
    std::vector<Box> boxes;  // beside messages
    QStringList addresses;
    int endRequests = 0;
    std::function<void()> onMessage;  // runs while the box would be open
};

// Shown and active, so that focus and access keys behave as on a desktop.
struct WindowUnderTest {
    WindowUnderTest() : window(std::make_unique<MainWindow>(services)) {
        window->show();
        QApplication::setActiveWindow(window.get());
        QApplication::processEvents();
    }
    ~WindowUnderTest() { window.reset(); QApplication::processEvents(); }
    const FormControls& c() const { return window->Controls(); }

    RecordingWindowServices services;
    std::unique_ptr<MainWindow> window;
};

// Shortcuts see the key first, then the focus widget (or `target`) gets it.
void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString& text = QString(), QWidget* target = nullptr);

}  // namespace sorvane::test
