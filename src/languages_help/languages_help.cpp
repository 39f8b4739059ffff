#include "languages_help/languages_help.h"

#include <QAction>
#include <QString>
#include <QWidget>

#include "languages_help/program_images.h"
#include "languages_help/web_links.h"

namespace sorvane {

LanguagesAndHelp::LanguagesAndHelp(QWidget& mainWindow, const CaptionedControls& controls,
                                   const WindowMenus& menus, WindowMessageTexts& texts,
                                   DesktopServices& services)
    : about_(services), targets_{controls, menus, texts, about_, toolkit_} {
    if (!mainWindow.testAttribute(Qt::WA_SetWindowIcon)) mainWindow.setWindowIcon(ProgramIcon());

    // The main window is the context of every connection: they end with it.
    const auto onTriggered = [&mainWindow](QAction* item, auto handler) {
        QObject::connect(item, &QAction::triggered, &mainWindow, std::move(handler));
    };
    onTriggered(menus.German, [this] { Switch(Language::German); });
    onTriggered(menus.English, [this] { Switch(Language::English); });
    onTriggered(menus.French, [this] { Switch(Language::French); });

    onTriggered(menus.About, [this] { about_.Show(); });
    for (const WebLinkItem& link : kHelpWebLinks) {
        onTriggered(menus.*link.item, [&services, &mainWindow, link] {
            OpenWebLink(services, QString::fromLatin1(link.scheme), QString::fromLatin1(link.storedAddress),
                        &mainWindow);
        });
    }
    onTriggered(menus.Manpage, [this, &services, &mainWindow] { Manpage_Click(manpage_, services, &mainWindow); });
}

void LanguagesAndHelp::Switch(Language language) { SwitchLanguage(targets_, language); }

}  // namespace sorvane
