#pragma once
// The program's main window: every setting of a purge run as a field, the
// three run commands, Quit, the status line and the menu bar.

#include <QMainWindow>
#include <memory>

#include "common/run_log.h"
#include "languages_help/languages_help.h"
#include "mainwindow/form_controls.h"
#include "mainwindow/settings_from_fields.h"
#include "languages_help/window_message_texts.h"
#include "mainwindow/window_purge_host.h"

namespace sorvane {

class WindowServices;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `services` answers the message boxes and ends the program; it must
    // outlive the window.
    explicit MainWindow(WindowServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    const FormControls& Controls() const { return controls_; }
    const WindowMenus& Menus() const { return menus_; }
    WindowMessageTexts& MessageTexts() { return texts_; }
    LanguagesAndHelp& LanguagesHelp() { return *languagesHelp_; }

    // Delete, Backup and Backup and Delete. Public so that the buttons and
    // tests start a run the same way.
    void RunCommand(RunKind kind);

protected:
    // Closing the window during a run ends the program as Quit does.
    void closeEvent(QCloseEvent* event) override;

private:
    void LoadForm();
    void ShowStatusTick();
    void ReportFailure(const std::string& description);

    WindowServices& services_;
    FormControls controls_;
    WindowMenus menus_;
    WindowMessageTexts texts_;
    // The window's runs report here. The window has no -debug, so its debug
    // log stays off.
    RunLog runLog_;
    std::unique_ptr<LanguagesAndHelp> languagesHelp_;
    WindowPurgeHost host_;
    bool runUnderWay_ = false;
};

}  // namespace sorvane
