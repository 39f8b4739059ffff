#pragma once
// The main window's menu bar: File, Options with the interface languages, and
// Help. Every menu and item carries its name as object name (a menu's title
// action too) so that the language switch and the Help menu find them.

class QAction;
class QMenuBar;

namespace sorvane {

struct FormMenu {
    QAction* Exit1 = nullptr;
};

FormMenu BuildFormMenu(QMenuBar& menuBar);

}  // namespace sorvane
