#include "languages_help/languages_help.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QWidget>
#include <QtGlobal>
#include <functional>

#include "languages_help/about_box.h"
#include "languages_help/language_switch.h"
#include "languages_help/manpage_window.h"
#include "languages_help/program_images.h"
#include "languages_help/web_links.h"

namespace sorvane {

namespace {

void OnTriggered(QWidget& mainWindow, const char* objectName, std::function<void()> handler) {
    QAction* action = mainWindow.findChild<QAction*>(QString::fromLatin1(objectName));
    if (!action) {
        qWarning("Help and language menus: the main window has no menu item named %s", objectName);
        return;
    }
    // The main window is the context: the connection ends with it.
    QObject::connect(action, &QAction::triggered, &mainWindow, std::move(handler));
}

}  // namespace

void AttachLanguagesAndHelp(QWidget& mainWindow, WindowMessageTexts& texts) {
    if (!mainWindow.testAttribute(Qt::WA_SetWindowIcon)) mainWindow.setWindowIcon(ProgramIcon());

    OnTriggered(mainWindow, "German", [&mainWindow, &texts] { German_Click(mainWindow, texts); });
    OnTriggered(mainWindow, "English", [&mainWindow, &texts] { English_Click(mainWindow, texts); });
    OnTriggered(mainWindow, "French", [&mainWindow, &texts] { French_Click(mainWindow, texts); });

    OnTriggered(mainWindow, "About", [] { About_Click(); });
    for (const WebLinkItem& link : kHelpWebLinks) {
        OnTriggered(mainWindow, link.objectName, [&mainWindow, link] {
            OpenWebLink(QString::fromLatin1(link.scheme), QString::fromLatin1(link.storedAddress), &mainWindow);
        });
    }
    OnTriggered(mainWindow, "Manpage", [&mainWindow] { Manpage_Click(&mainWindow); });

    // The windows of this part go with the program when it ends; a hidden
    // About box left behind by a language switch must not outlive it.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &mainWindow, [] {
        delete ExistingAboutBox();
        delete ExistingManpageWindow();
    });
}

}  // namespace sorvane
