#pragma once
// Helpers of the Help menu and language tests.

#include <QApplication>
#include <QWidget>

namespace sorvane::test {

inline void RunPendingDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// The top-level window of that object name, or nullptr.
inline QWidget* TopLevelNamed(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name) return widget;
    }
    return nullptr;
}

}  // namespace sorvane::test
