// The run commands of the main window and their failure trap.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "mainwindow/field_conversion.h"
#include "mainwindow/main_window.h"
#include "mainwindow/window_services.h"
#include "common/run_failure.h"
#include "purge/run_purge.h"

namespace sorvane {

namespace {

// Keeps the three run commands disabled while a run is under way, so that a
// click handled during one of the run's yields cannot start a second run
// inside the first. The focus is taken off a run button before it is
// disabled (the toolkit would otherwise hand it to the next control, which
// is Quit) and given back afterwards.
class RunCommandsLock {
public:
    RunCommandsLock(const FormControls& controls, bool& runUnderWay)
        : controls_(controls), runUnderWay_(runUnderWay), focus_(QApplication::focusWidget()) {
        runUnderWay_ = true;
        if (IsRunButton(focus_)) focus_->clearFocus();
        SetEnabled(false);
    }
    ~RunCommandsLock() {
        SetEnabled(true);
        runUnderWay_ = false;
        if (focus_ && IsRunButton(focus_)) focus_->setFocus();
    }
    RunCommandsLock(const RunCommandsLock&) = delete;
    RunCommandsLock& operator=(const RunCommandsLock&) = delete;

private:
    bool IsRunButton(const QWidget* widget) const {
        return widget != nullptr &&
               (widget == controls_.Command1 || widget == controls_.Command3 ||
                widget == controls_.Command4);
    }
    void SetEnabled(bool enabled) {
        for (QPushButton* button : {controls_.Command1, controls_.Command3, controls_.Command4}) {
            button->setEnabled(enabled);
        }
    }

    const FormControls& controls_;
    bool& runUnderWay_;
    QPointer<QWidget> focus_;
};

}  // namespace

void MainWindow::RunCommand(RunKind kind) {
    if (runUnderWay_) return;
    try {
        const PurgeSettings settings = ReadSettingsFromFields(controls_, kind);

        // Asked about the number the run takes: "00", "000" and a pasted
        // "0.4" empty the table as "0" does.
        if (kind.deleteRows && settings.days == 0 &&
            !services_.AskYesNo(this, texts_.msgDropWarning, texts_.msgWarningTitle)) {
            return;
        }

        RunCommandsLock lock(controls_, runUnderWay_);
        setCursor(Qt::WaitCursor);
        controls_.LabelStatus->setText(texts_.msgDeleting);
        host_.StartCounting();
        RunPurge(settings, host_, runLog_);
        // Back here only when the run found no rows (or, with services that
        // do not end the process, after a finished run).
        unsetCursor();
    } catch (const RunFailure& failure) {
        ReportFailure(failure.Description());
    } catch (const std::exception& failure) {
        ReportFailure(failure.what());
    }
}

void MainWindow::ReportFailure(const std::string& description) {
    unsetCursor();
    controls_.LabelStatus->setText(QString());
    // The batches are over: the next run can be set up at once.
    host_.StopBatchDisplay();
    services_.ShowMessage(this, description == kTypeMismatchDescription
                                    ? texts_.msgNumbersOnly
                                    : QString::fromStdString(description));
}

}  // namespace sorvane
