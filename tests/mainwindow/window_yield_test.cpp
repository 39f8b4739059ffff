// A window run lets the window handle its events: timers and posted events
// are handled while the run yields (clicks during a whole run are shown by
// run_commands_test). How often, and at what cost, is measured by
// bench/window_yield_bench.cpp.

#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>

#include "common/reporting.h"
#include "mainwindow/window_test_support.h"

namespace sorvane {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class QuickYields : public ::testing::Test {
protected:
    // Yields back to back for `span`, as the export does between fields.
    void YieldFor(milliseconds span) {
        const Clock::time_point start = Clock::now();
        while (Clock::now() - start < span) host_.Yield();
    }

    test::WindowUnderTest w_;
    RunLog log_;
    WindowPurgeHost host_{w_.c(), w_.services, *w_.window, log_};
};

TEST_F(QuickYields, StillHandleTimerTicksAndPostedEvents) {
    int ticks = 0;
    QTimer timer;
    timer.setInterval(milliseconds(10));
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();
    bool posted = false;
    QMetaObject::invokeMethod(&timer, [&] { posted = true; }, Qt::QueuedConnection);
    YieldFor(milliseconds(200));
    EXPECT_TRUE(posted);
    EXPECT_GE(ticks, 1);
}

}  // namespace
}  // namespace sorvane
