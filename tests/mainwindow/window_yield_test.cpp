// A window run lets the window handle its events: timers, posted events and
// clicks are handled while the run goes on. How often, and at what cost, is
// measured by bench/window_yield_bench.cpp.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/reporting.h"
#include "mainwindow/window_test_support.h"
#include "support/odbc_test_env.h"
#include "support/temp_dir.h"

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

// A backup at the widest usual batch yields some million times a second.
TEST_F(QuickYields, LetATimerTickDuringABackupRun) {
    constexpr int kRows = 20000;
    const test::TestDataSource source = test::MakeSqliteDataSource();
    const std::string table = test::UniqueTableName("YieldEvents");
    test::CreateLogTable(source, table);
    std::vector<test::LogRow> rows;
    for (int id = 1; id <= kRows; ++id) {
        rows.push_back({id, "2020-03-01 10:00:00", "2020-03-01 10:00:00", 1, 6, "host", "tag", "message"});
    }
    test::InsertLogRows(source, table, rows);
    const test::TempDir backupDir;
    const FormControls& c = w_.c();
    c.txtDSN->setText(QString::fromStdString(source.dsn));
    c.txtTabelle->setText(QString::fromStdString(table));
    c.txtTage->setText("7");
    c.txtDelRecPerTrip->setText("1000");
    c.txtFilePath->setText(QString::fromStdString(backupDir.Path().string()) + "/");

    int ticksDuringRun = 0;
    QTimer timer;
    timer.setInterval(milliseconds(1));
    QObject::connect(&timer, &QTimer::timeout, [&] { ticksDuringRun += c.Command3->isEnabled() ? 0 : 1; });
    timer.start();
    c.Command3->click();

    ASSERT_EQ(w_.services.messages, std::vector<QString>{"Backup was successful"});
    EXPECT_GE(ticksDuringRun, 1);
    std::ifstream backup(backupDir.Path() / "BackupFile.csv");
    std::string line;
    int lines = 0;
    while (std::getline(backup, line)) ++lines;
    EXPECT_EQ(lines, kRows);
}

}  // namespace
}  // namespace sorvane
