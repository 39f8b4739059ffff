#pragma once
// The program's main window: every setting of a purge run as a field, the
// three run commands, Quit, the status line and the menu bar.

#include <QMainWindow>

#include "common/reporting.h"
#include "mainwindow/form_controls.h"
#include "mainwindow/settings_from_fields.h"
#include "languages_help/window_message_texts.h"
#include "mainwindow/window_purge_host.h"

class QAction;

namespace sorvane {

class WindowServices;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `services` answers the message boxes and ends the program; it must
    // outlive the window.
    explicit MainWindow(WindowServices& services, QWidget* parent = nullptr);

    const FormControls& Controls() const { return controls_; }
    WindowMessageTexts& MessageTexts() { return texts_; }
    QAction* ExitAction() const { return exitAction_; }

    // Delete, Backup and Backup and Delete. Public so that the buttons and
    // tests start a run the same way.
    void RunCommand(RunKind kind);

private:
    void LoadForm();
    void ShowStatusTick();
    void ReportFailure(const std::string& description);

    WindowServices& services_;
    FormControls controls_;
    QAction* exitAction_ = nullptr;
    WindowMessageTexts texts_;
    // The window's runs report here. The window has no -debug, so its debug
    // log stays off.
    RunLog runLog_;
    WindowPurgeHost host_;
    bool runUnderWay_ = false;
};

}  // namespace sorvane
