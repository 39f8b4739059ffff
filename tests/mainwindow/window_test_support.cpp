#include "mainwindow/window_test_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QKeyEvent>
#include <QLineEdit>

// Exported by Qt's GUI library for exactly this purpose: it lets a key go
// through the shortcut map the way a key from the window system does.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods,
                                               const QString& text = QString(),
                                               bool autorep = false, ushort count = 1);

namespace sorvane::test {

bool RecordingWindowServices::AskYesNo(QWidget*, const QString& prompt, const QString& title) {
    questions.push_back({prompt, title});
    return answerYes;
}

void RecordingWindowServices::ShowMessage(QWidget*, const QString& text) {
    messages.push_back(text);
    if (onMessage) onMessage(text);
}

WindowUnderTest::WindowUnderTest() : window(std::make_unique<MainWindow>(services)) {
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    QApplication::processEvents();
}

WindowUnderTest::~WindowUnderTest() {
    window.reset();
    QApplication::processEvents();
}

void PressKey(int key, Qt::KeyboardModifiers modifiers, const QString& text, QWidget* target) {
    QWidget* receiver = target != nullptr ? target : QApplication::focusWidget();
    if (receiver == nullptr) receiver = QApplication::activeWindow();
    if (receiver == nullptr) return;
    if (qt_sendShortcutOverrideEvent(receiver, 0, key, modifiers, text)) return;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(receiver, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(receiver, &release);
}

void ProcessEventsFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QApplication::processEvents();
        QThread::msleep(5);
    }
}

void TypeText(QWidget* target, const QString& text) {
    for (const QChar c : text) {
        int key = c.toUpper().unicode();
        if (c == QLatin1Char('\b')) key = Qt::Key_Backspace;
        PressKey(key, Qt::NoModifier, QString(c), target);
    }
}

}  // namespace sorvane::test
