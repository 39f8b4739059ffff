#include "mainwindow/window_purge_host.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "mainwindow/status_tick.h"
#include "mainwindow/window_services.h"

namespace sorvane {

WindowPurgeHost::WindowPurgeHost(const FormControls& controls, WindowServices& services,
                                 QWidget& window)
    : controls_(controls), services_(services), window_(window) {}

void WindowPurgeHost::Yield() { QCoreApplication::processEvents(); }

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
