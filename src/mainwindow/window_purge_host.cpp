#include "mainwindow/window_purge_host.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <ctime>

#include "common/run_log.h"
#include "mainwindow/status_tick.h"
#include "mainwindow/window_services.h"
#include "purge/count_and_elapsed_text.h"

namespace sorvane {

namespace {

// Qt 6 cannot tell whether an event waits without handling it, and handling
// none costs a poll system call: far more than the field between two
// yields. The coarse monotonic clock is read without a system call, in a few
// nanoseconds, at the price of a resolution of one timer tick.
// Elsewhere the steady clock serves, at a few times the cost.
std::chrono::nanoseconds CoarseNow() {
#ifdef CLOCK_MONOTONIC_COARSE
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
#else
    return std::chrono::steady_clock::now().time_since_epoch();
#endif
}

}  // namespace

WindowPurgeHost::WindowPurgeHost(const FormControls& controls, WindowServices& services,
                                 QWidget& window, const RunLog& log)
    : controls_(controls), services_(services), window_(window), log_(log) {}

void WindowPurgeHost::Yield() {
    if (CoarseNow() - lastEvents_ < kEventPeriod) return;
    QCoreApplication::processEvents();
    // Measured after the events: a slow handler (painting a large window)
    // leaves the run a whole period of its own before the next round.
    lastEvents_ = CoarseNow();
}

// No batch ran: the status line no longer says that rows are being deleted.
void WindowPurgeHost::NoRowsFound() {
    SetStatusText(std::string());
    ShowMessage("No Data is available");
}

void WindowPurgeHost::BatchesStarting() {
    // The user's "Display Status after (sec)" value, when it is a usable
    // period, else ten seconds.
    controls_.timerDeleting->setInterval(
        StatusTimerPeriodMs(controls_.txtDisplayStatusAfter->text()));
    SetRunFieldsEnabled(false);
    if (!controls_.timerDeleting->isActive()) controls_.timerDeleting->start();
}

void WindowPurgeHost::BatchDone(std::int64_t batchCounter) {
    batchCounter_ = batchCounter;
    SetStatusText("Deleted records no: " + FormatSignedCount(batchCounter));
}

void WindowPurgeHost::BatchesDone() {
    StopBatchDisplay();
    log_.WriteDebugLog("Finished deleting process");
}

void WindowPurgeHost::StopBatchDisplay() {
    controls_.timerDeleting->stop();
    SetRunFieldsEnabled(true);
}

void WindowPurgeHost::RunFinished(std::int64_t batchCounter, const std::string& elapsed,
                                  bool deleted) {
    const std::string status =
        "Deleted " + FormatSignedCount(batchCounter) + " records in " + elapsed;
    SetStatusText(status);
    log_.WriteDebugLog(status);
    ShowMessage(deleted ? "Deleting successful" : "Backup was successful");
    services_.EndProgram();
}

void WindowPurgeHost::SetStatusText(const std::string& text) {
    controls_.LabelStatus->setText(QString::fromStdString(text));
}

void WindowPurgeHost::SetRunFieldsEnabled(bool enabled) {
    controls_.txtDisplayStatusAfter->setEnabled(enabled);
    controls_.txtDelRecPerTrip->setEnabled(enabled);
}

void WindowPurgeHost::ShowMessage(const std::string& text) {
    services_.ShowMessage(&window_, QString::fromStdString(text));
}

}  // namespace sorvane
