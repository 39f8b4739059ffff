#include "mainwindow/window_purge_host.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <ctime>

#include "mainwindow/status_tick.h"
#include "mainwindow/window_services.h"

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
                                 QWidget& window)
    : controls_(controls), services_(services), window_(window) {}

void WindowPurgeHost::Yield() {
    if (CoarseNow() - lastEvents_ < kEventPeriod) return;
    QCoreApplication::processEvents();
    // Measured after the events: a slow handler (painting a large window)
    // leaves the run a whole period of its own before the next round.
    lastEvents_ = CoarseNow();
}

void WindowPurgeHost::SetStatusText(const std::string& text) {
    controls_.LabelStatus->setText(QString::fromStdString(text));
}

std::string WindowPurgeHost::StatusText() const {
    return controls_.LabelStatus->text().toStdString();
}

void WindowPurgeHost::SetProgressCounter(std::int64_t batchCounter) { batchCounter_ = batchCounter; }

void WindowPurgeHost::SetStatusTimerInterval(int /*milliseconds*/) {
    // The run asks for its fixed ten seconds; the user's "Display Status
    // after (sec)" value takes its place when it is a usable period.
    controls_.timerDeleting->setInterval(
        StatusTimerPeriodMs(controls_.txtDisplayStatusAfter->text()));
}

void WindowPurgeHost::SetStatusTimerEnabled(bool enabled) {
    if (!enabled) {
        controls_.timerDeleting->stop();
    } else if (!controls_.timerDeleting->isActive()) {
        controls_.timerDeleting->start();
    }
}

void WindowPurgeHost::SetRunFieldsEnabled(bool enabled) {
    controls_.txtDisplayStatusAfter->setEnabled(enabled);
    controls_.txtDelRecPerTrip->setEnabled(enabled);
}

void WindowPurgeHost::ShowMessage(const std::string& text) {
    services_.ShowMessage(&window_, QString::fromStdString(text));
}

void WindowPurgeHost::EndProgram() { services_.EndProgram(); }

}  // namespace sorvane
