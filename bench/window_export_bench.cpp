// Times one run of the main window's Backup, Delete or Backup and Delete
// command, started by a click as a user would, for comparison with the same
// run from the command line. Takes the command line's options, fills the
// window's fields from them and prints "seconds: N.NNN" when the run ends the
// program. Not a test: the figure depends on the machine.
//
//   QT_QPA_PLATFORM=offscreen sorvane-window-bench -dsn=... -backup=1 -delrecpertrip=1000 ...
//
// Exit status: 0 when the run ended the program, 1 when it returned to the
// window (no rows, or a failure: the messages are on standard error), 2 for
// unusable options.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "mainwindow/main_window.h"
#include "mainwindow/window_services.h"
#include "purge/backup_file_path.h"
#include "common/run_failure.h"
#include "startup/command_line_options.h"

namespace {

using Clock = std::chrono::steady_clock;

// Answers every question with Yes, keeps the messages and, at the program's
// end, reports the time since the command was clicked.
class BenchWindowServices : public sorvane::WindowServices {
public:
    bool AskYesNo(QWidget*, const QString&, const QString&) override { return true; }
    void ShowMessage(QWidget*, const QString& text, sorvane::MessageIcon = sorvane::MessageIcon::None) override {
        messages_.push_back(text);
    }
    int OpenWebAddress(const QString&) override { return 42; }  // never asked: no Help menu is used
    [[noreturn]] void EndProgram() override {
        const std::chrono::duration<double> elapsed = Clock::now() - start_;
        PrintMessages();
        std::printf("seconds: %.3f\n", elapsed.count());
        std::fflush(nullptr);
        std::_Exit(0);
    }

    void StartClock() { start_ = Clock::now(); }
    void PrintMessages() const {
        for (const QString& message : messages_) std::cerr << "message: " << message.toStdString() << '\n';
    }

private:
    Clock::time_point start_;
    std::vector<QString> messages_;
};

QString Text(const std::string& text) { return QString::fromStdString(text); }

void FillFields(const sorvane::FormControls& c, const sorvane::PurgeSettings& s) {
    c.txtTage->setText(QString::number(s.days));
    c.Combo1->setCurrentText(Text(s.timeColumn));
    c.txtDSN->setText(Text(s.dsn));
    c.txtTabelle->setText(Text(s.tableName));
    c.txtBenutzer->setText(Text(s.userName));
    c.txtPass->setText(Text(s.password));
    c.txtDelRecPerTrip->setText(QString::number(s.recordsPerTrip));
    c.txtSeparateWith->setText(Text(s.separator));
    c.txtEscapeWith->setText(Text(s.escapeText));
    c.txtFilename->setText(Text(s.fileName));
    c.txtFileExtension->setText(Text(s.fileExtension));
    c.txtFilePath->setText(Text(s.filePath));
    // The check boxes hold 0 or 1: checked when the run would read the
    // option as on.
    c.CheckOverWriteFile->setChecked(sorvane::IsOn(s.overwrite, "overwrite"));
    c.CheckIncludeDate->setChecked(sorvane::IsOn(s.includeDate, "includedate"));
}

QPushButton* CommandFor(const sorvane::FormControls& c, const sorvane::PurgeSettings& s) {
    if (s.deleteRows && s.backupRows) return c.Command4;
    if (s.deleteRows) return c.Command1;
    if (s.backupRows) return c.Command3;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");

    sorvane::PurgeSettings settings;
    sorvane::RunLog optionsLog;  // the window's run keeps its own, without -debug
    try {
        sorvane::ReadCommandLineOptions(sorvane::ArgumentsAsGiven(argc, argv),
                                        settings, optionsLog, [] {});
    } catch (const sorvane::RunFailure& failure) {
        std::cerr << "sorvane-window-bench: " << failure.Description() << '\n';
        return 2;
    }
    if (settings.dsn.empty() || (!settings.deleteRows && !settings.backupRows)) {
        std::cerr << "sorvane-window-bench: give -dsn= and -delete=1 and/or -backup=1, "
                     "with the program's other options\n";
        return 2;
    }

    QApplication application(argc, argv);
    BenchWindowServices services;
    sorvane::MainWindow window(services);
    window.show();
    try {
        FillFields(window.Controls(), settings);
    } catch (const sorvane::RunFailure& failure) {
        std::cerr << "sorvane-window-bench: " << failure.Description() << '\n';
        return 2;
    }
    QApplication::processEvents();

    services.StartClock();
    CommandFor(window.Controls(), settings)->click();

    // Back here only when the run did not end the program.
    services.PrintMessages();
    std::cerr << "sorvane-window-bench: the run returned to the window\n";
    return 1;
}
