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

FormMenu BuildFormMenu(QMenuBar& menuBar) {
    FormMenu menu;

    QMenu* file = Named(menuBar.addMenu(QStringLiteral("&File")), "File");
    menu.Exit1 = AddItem(*file, "Exit1", QStringLiteral("E&xit"));

    QMenu* options = Named(menuBar.addMenu(QStringLiteral("&Options")), "Options");
    QMenu* language = Named(options->addMenu(QStringLiteral("&Language")), "Language");
    AddItem(*language, "German", QStringLiteral("&Deutsch"));
    AddItem(*language, "English", QStringLiteral("&English"));
    AddItem(*language, "French", QStringLiteral("&Français"));

    QMenu* help = Named(menuBar.addMenu(QStringLiteral("&Help")), "Help1");
    AddItem(*help, "About", QStringLiteral("&About Sorvane"));
    AddItem(*help, "RequestSupport", QStringLiteral("&Request Support"));
    AddItem(*help, "OrmistelMainPage", QStringLiteral("&Ormistel Main Page"));
    AddItem(*help, "ProductAnnouncementLists", QStringLiteral("&Product Announcement Lists"));
    AddItem(*help, "SupportForums", QStringLiteral("&Support Forums"));
    AddItem(*help, "Manpage", QStringLiteral("&Manpage"));
    return menu;
}

}  // namespace sorvane
