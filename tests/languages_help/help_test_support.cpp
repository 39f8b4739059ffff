#include "languages_help/help_test_support.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

#include "languages_help/about_box.h"
#include "languages_help/manpage_window.h"
#include "languages_help/web_links.h"

namespace sorvane::test {

MessageBoxCatcher::MessageBoxCatcher() {
    poll_.setInterval(5);
    QObject::connect(&poll_, &QTimer::timeout, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen_.push_back({box->windowTitle(), box->text(), box->icon(), box->parentWidget()});
        box->done(QMessageBox::Ok);
    });
    poll_.start();
}

ScriptedLauncher::ScriptedLauncher(int result) : result_(result) {
    SetWebLauncher([this](const QString& address) {
        addresses.push_back(address);
        return result_;
    });
}

ScriptedLauncher::~ScriptedLauncher() { SetWebLauncher(nullptr); }

void RunPendingDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void DestroyHelpWindows() {
    delete ExistingAboutBox();
    delete ExistingManpageWindow();
    RunPendingDeletes();
}

int CountTopLevels(const QString& objectName) {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == objectName) ++count;
    }
    return count;
}

}  // namespace sorvane::test
