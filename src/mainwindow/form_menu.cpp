#include "mainwindow/form_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace sorvane {

namespace {

QMenu* Named(QMenu* menu, const char* name) {
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* AddItem(QMenu& menu, const char* name, const QString& caption) {
    QAction* item = menu.addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

}  // namespace

WindowMenus BuildFormMenu(QMenuBar& menuBar) {
    WindowMenus m;

    m.File = Named(menuBar.addMenu(QStringLiteral("&File")), "File");
    m.Exit1 = AddItem(*m.File, "Exit1", QStringLiteral("E&xit"));

    m.Options = Named(menuBar.addMenu(QStringLiteral("&Options")), "Options");
    m.Language = Named(m.Options->addMenu(QStringLiteral("&Language")), "Language");
    m.German = AddItem(*m.Language, "German", QStringLiteral("&Deutsch"));
    m.English = AddItem(*m.Language, "English", QStringLiteral("&English"));
    m.French = AddItem(*m.Language, "French", QStringLiteral("&Français"));

    m.Help1 = Named(menuBar.addMenu(QStringLiteral("&Help")), "Help1");
    m.About = AddItem(*m.Help1, "About", QStringLiteral("&About Sorvane"));
    m.RequestSupport = AddItem(*m.Help1, "RequestSupport", QStringLiteral("&Request Support"));
    m.OrmistelMainPage = AddItem(*m.Help1, "OrmistelMainPage", QStringLiteral("&Ormistel Main Page"));
    m.ProductAnnouncementLists =
        AddItem(*m.Help1, "ProductAnnouncementLists", QStringLiteral("&Product Announcement Lists"));
    m.SupportForums = AddItem(*m.Help1, "SupportForums", QStringLiteral("&Support Forums"));
    m.Manpage = AddItem(*m.Help1, "Manpage", QStringLiteral("&Manpage"));
    return m;
}

}  // namespace sorvane
