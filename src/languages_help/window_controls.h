#pragma once
// The main window's controls and menus that the language switch and the Help
// menu act on. The main window's own control struct derives from
// CaptionedControls and its menu bar fills WindowMenus, so the language table
// and the Help menu reach each control through its member, checked by the
// compiler; object names stay for tests and accessibility.

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace sorvane {

struct CaptionedControls {
    QLabel* Label3 = nullptr;  // Days
    QLabel* Label2 = nullptr;  // DSN
    QLabel* Label1 = nullptr;  // table name
    QLabel* Label4 = nullptr;  // user name
    QLabel* Label5 = nullptr;  // password
    QLabel* lblDelRecPerState = nullptr;
    QLabel* lblDisplayStatusAfter = nullptr;
    QPushButton* Command1 = nullptr;  // Delete
    QPushButton* Command2 = nullptr;  // Quit
};

struct WindowMenus {
    QMenu* File = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Options = nullptr;
    QMenu* Language = nullptr;
    QAction* German = nullptr;
    QAction* English = nullptr;
    QAction* French = nullptr;
    QMenu* Help1 = nullptr;
    QAction* About = nullptr;
    QAction* RequestSupport = nullptr;
    QAction* OrmistelMainPage = nullptr;
    QAction* ProductAnnouncementLists = nullptr;
    QAction* SupportForums = nullptr;
    QAction* Manpage = nullptr;
};

}  // namespace sorvane
