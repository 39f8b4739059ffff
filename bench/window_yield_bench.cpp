// How often a window run's quick yields let the window handle its events:
// the event rounds during 100 ms of back-to-back yields (as the export yields
// between fields) against the most the event period allows, and the ticks of
// a 10 ms timer that come through in 200 ms of them. Not a test: the figures
// depend on the machine and its load.
//
//   QT_QPA_PLATFORM=offscreen sorvane-window-yield-bench

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "common/run_log.h"
#include "mainwindow/main_window.h"
#include "mainwindow/window_purge_host.h"
#include "mainwindow/window_services.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class SilentWindowServices : public sorvane::WindowServices {
public:
    bool AskYesNo(QWidget*, const QString&, const QString&) override { return true; }
    void ShowMessage(QWidget*, const QString&, sorvane::MessageIcon = sorvane::MessageIcon::None) override {}
    int OpenWebAddress(const QString&) override { return 0; }
    void EndProgram() override {}
};

// Yields back to back for `span`; returns how long that took, rounded up.
long YieldFor(sorvane::WindowPurgeHost& host, milliseconds span) {
    const Clock::time_point start = Clock::now();
    while (Clock::now() - start < span) host.Yield();
    return std::chrono::ceil<milliseconds>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    SilentWindowServices services;
    sorvane::MainWindow window(services);
    window.show();
    QApplication::processEvents();
    const sorvane::RunLog log;
    sorvane::WindowPurgeHost host(window.Controls(), services, window, log);

    int rounds = 0;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [&] { ++rounds; });
    const long yieldMs = YieldFor(host, milliseconds(100));
    const long period = sorvane::WindowPurgeHost::kEventPeriod.count();
    std::printf("event rounds in %ld ms of yields: %d (at most %ld with a %ld ms period)\n", yieldMs, rounds,
                yieldMs / period + 2, period);

    int ticks = 0;
    QTimer timer;
    timer.setInterval(milliseconds(10));
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();
    const long tickMs = YieldFor(host, milliseconds(200));
    std::printf("ticks of a 10 ms timer in %ld ms of yields: %d\n", tickMs, ticks);
    return 0;
}
