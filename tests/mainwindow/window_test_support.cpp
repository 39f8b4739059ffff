#include "mainwindow/window_test_support.h"

#include <QKeyEvent>

// Exported by Qt's GUI library: lets a key pass the shortcut map as a key from the window system does.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text = QString(),
                                               bool autorep = false, ushort count = 1);

namespace sorvane::test {

void PressKey(int key, Qt::KeyboardModifiers modifiers, const QString& text, QWidget* target) {
    QWidget* receiver = target != nullptr ? target : QApplication::focusWidget();
    if (receiver == nullptr || qt_sendShortcutOverrideEvent(receiver, 0, key, modifiers, text)) return;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(receiver, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(receiver, &release);
}

}  // namespace sorvane::test
