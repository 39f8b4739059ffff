#pragma once
// Stand-ins for the desktop and for the user answering message boxes.

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <vector>

#include "languages_help/about_box.h"
#include "languages_help/manpage_window.h"
#include "languages_help/web_links.h"

namespace sorvane::test {

struct SeenMessageBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QWidget* parent;
};

// While it lives, every modal message box is recorded and answered with OK.
struct MessageBoxCatcher {
    MessageBoxCatcher() {
        QObject::connect(&poll, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen.push_back({box->windowTitle(), box->text(), box->icon(), box->parentWidget()});
                box->done(QMessageBox::Ok);
            }
        });
        poll.start(5);
    }
    std::vector<SeenMessageBox> seen;
    QTimer poll;
};

// Answers for the desktop with a fixed result, recording the addresses.
struct ScriptedLauncher {
    explicit ScriptedLauncher(int result) {
        SetWebLauncher([this, result](const QString& address) {
            addresses.push_back(address);
            return result;
        });
    }
    ~ScriptedLauncher() { SetWebLauncher(nullptr); }
    QStringList addresses;
};

inline void RunPendingDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

inline void DestroyHelpWindows() {
    delete ExistingAboutBox();
    delete ExistingManpageWindow();
    RunPendingDeletes();
}

}  // namespace sorvane::test
