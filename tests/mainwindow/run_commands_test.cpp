// The run commands against a real SQLite data source: the Days "0" question,
// runs that delete, back up, find nothing or fail, the lock against a second
// run, the status tick, and Quit and Exit.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "support/odbc_test_env.h"
#include "startup/regional.h"
#include "support/temp_dir.h"
#include "mainwindow/window_test_support.h"

namespace sorvane {
namespace {

namespace fs = std::filesystem;
using test::WindowUnderTest;

constexpr const char* kOld = "2020-03-01 10:00:00";
constexpr const char* kFuture = "2999-01-01 10:00:00";

std::vector<test::LogRow> Rows(int firstId, int lastId, const char* time) {
    std::vector<test::LogRow> rows;
    for (int id = firstId; id <= lastId; ++id) {
        rows.push_back({id, time, time, 1, 6, "host", "tag", "message " + std::to_string(id)});
    }
    return rows;
}

class RunCommands : public ::testing::Test {
protected:
    void SetUp() override {
        source_ = test::MakeSqliteDataSource();
        table_ = test::UniqueTableName("WindowEvents");
        test::CreateLogTable(source_, table_);
        const FormControls& c = w_.c();
        c.txtDSN->setText(QString::fromStdString(source_.dsn));
        c.txtTabelle->setText(QString::fromStdString(table_));
        c.txtBenutzer->setText("");
        c.txtTage->setText("7");
        c.txtFilePath->setText(QString::fromStdString(backupDir_.Path().string()) + "/");
    }

    void Fill(int firstId, int lastId, const char* time) {
        test::InsertLogRows(source_, table_, Rows(firstId, lastId, time));
    }

    int RowCount() {
        const auto rows = test::FetchRows(source_, "SELECT count(*) FROM " + table_);
        return std::stoi(rows.at(0).at(0).value());
    }

    int BackupFiles() {
        int files = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(backupDir_.Path())) ++files;
        return files;
    }

    const FormControls& c() const { return w_.c(); }
    QString Status() const { return c().LabelStatus->text(); }
    bool Hourglass() const {
        return w_.window->testAttribute(Qt::WA_SetCursor) &&
               w_.window->cursor().shape() == Qt::WaitCursor;
    }
    bool RunCommandsEnabled() const {
        return c().Command1->isEnabled() && c().Command3->isEnabled() && c().Command4->isEnabled();
    }

    WindowUnderTest w_;
    test::TestDataSource source_;
    std::string table_;
    test::TempDir backupDir_;
};

TEST_F(RunCommands, DaysZeroAsksBeforeDeletingRuns) {
    const struct {
        const char* what;
        QPushButton* FormControls::*button;
        const char* days;
        bool answerYes;
        bool asks;
        bool runs;
    } cases[] = {
        {"Delete, No", &FormControls::Command1, "0", false, true, false},
        {"Backup and Delete, No", &FormControls::Command4, "0", false, true, false},
        {"Delete, Yes", &FormControls::Command1, "0", true, true, true},
        {"Backup never asks", &FormControls::Command3, "0", false, false, true},
        {"two zeros are not the text 0", &FormControls::Command1, "00", false, false, true},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        test::CreateLogTable(source_, table_);
        Fill(1, 5, kOld);
        w_.services.Reset();
        w_.services.answerYes = k.answerYes;
        c().txtTage->setText(k.days);
        c().LabelStatus->setText("before");

        (c().*k.button)->click();

        ASSERT_EQ(w_.services.questions.size(), k.asks ? 1u : 0u);
        if (k.asks) {
            EXPECT_EQ(w_.services.questions[0].prompt, "This will drop the whole database, continue ?");
            EXPECT_EQ(w_.services.questions[0].title, "WARNING!");
        }
        EXPECT_FALSE(Hourglass());
        if (k.runs) {
            ASSERT_EQ(w_.services.messages.size(), 1u);
            EXPECT_EQ(w_.services.endRequests, 1);
            EXPECT_EQ(RowCount(), k.button == &FormControls::Command3 ? 5 : 0);
        } else {
            EXPECT_TRUE(w_.services.messages.empty());
            EXPECT_EQ(w_.services.endRequests, 0);
            EXPECT_EQ(Status(), "before");  // nothing changed
            EXPECT_EQ(RowCount(), 5);
        }
    }
}

TEST_F(RunCommands, TheQuestionAndTheStatusUseTheCurrentLanguagesTexts) {
    Fill(1, 3, kOld);
    WindowMessageTexts& texts = w_.window->MessageTexts();
    texts.msgDropWarning = "Wollen sie wirklich die gesamte Datenbank leeren ?";
    texts.msgWarningTitle = "WARNUNG!";
    texts.msgDeleting = "Lösche . . . ";
    c().txtTage->setText("0");
    QString statusAtFirstYield;
    QTimer::singleShot(0, [&] { statusAtFirstYield = Status(); });

    c().Command1->click();

    ASSERT_EQ(w_.services.questions.size(), 1u);
    EXPECT_EQ(w_.services.questions[0].prompt, texts.msgDropWarning);
    EXPECT_EQ(w_.services.questions[0].title, "WARNUNG!");
    EXPECT_EQ(statusAtFirstYield, "Lösche . . . ");
    EXPECT_EQ(RowCount(), 0);
}

TEST_F(RunCommands, ADeletingRunRemovesTheOldRowsAndEndsTheProgram) {
    Fill(1, 25, kOld);
    Fill(26, 30, kFuture);
    QString statusAtMessage;
    bool hourglassAtMessage = false;
    w_.services.onMessage = [&](const QString&) {
        statusAtMessage = Status();
        hourglassAtMessage = Hourglass();
    };

    c().Command1->click();

    EXPECT_EQ(RowCount(), 5);
    EXPECT_EQ(w_.services.messages, std::vector<QString>{"Deleting successful"});
    EXPECT_TRUE(statusAtMessage.startsWith("Deleted  30 records in ")) << statusAtMessage.toStdString();
    EXPECT_TRUE(hourglassAtMessage);
    EXPECT_EQ(w_.services.endRequests, 1);
    EXPECT_EQ(BackupFiles(), 0);
    EXPECT_FALSE(c().timerDeleting->isActive());
    EXPECT_TRUE(c().txtDelRecPerTrip->isEnabled() && c().txtDisplayStatusAfter->isEnabled());
}

TEST_F(RunCommands, BackupWritesTheRowsAndKeepsThem) {
    Fill(1, 12, kOld);
    QString statusWhileRunning;
    QTimer::singleShot(0, [&] { statusWhileRunning = Status(); });

    c().Command3->click();

    EXPECT_EQ(RowCount(), 12);
    EXPECT_EQ(w_.services.messages, std::vector<QString>{"Backup was successful"});
    EXPECT_EQ(w_.services.endRequests, 1);
    ASSERT_EQ(BackupFiles(), 1);
    const fs::path file = fs::directory_iterator(backupDir_.Path())->path();
    EXPECT_NE(test::ReadWholeFile(file).find("message 12"), std::string::npos);
    EXPECT_TRUE(statusWhileRunning == "Deleting . . . " ||
                statusWhileRunning.startsWith("Deleted records no: "))
        << statusWhileRunning.toStdString();
}

TEST_F(RunCommands, ARunThatFindsNoRowsReturnsToTheWindow) {
    Fill(1, 4, kFuture);

    c().Command4->click();

    EXPECT_EQ(w_.services.messages, std::vector<QString>{"No Data is available"});
    EXPECT_EQ(Status(), "Deleting . . . ");
    EXPECT_FALSE(Hourglass());
    EXPECT_EQ(w_.services.endRequests, 0);
    EXPECT_EQ(RowCount(), 4);
    EXPECT_TRUE(RunCommandsEnabled());
    EXPECT_FALSE(c().timerDeleting->isActive());
}

TEST_F(RunCommands, FailuresAreShownAndClearTheStatusLine) {
    const struct {
        const char* what;
        const char* days;
        const char* perTrip;
        const char* table;  // nullptr: the test's table
        QString expected;   // empty: any text but the numbers-only one
        const char* contains;
    } cases[] = {
        {"empty Days", "", "10", nullptr, "Please type only numbers in the \"Days\" field", ""},
        {"letters per trip", "7", "ten", nullptr, "Please type only numbers in the \"Days\" field", ""},
        {"per trip too large", "7", "40000", nullptr, "Overflow", ""},
        {"per trip zero", "7", "0", nullptr, "", ""},
        {"per trip negative", "7", "-3", nullptr, "", ""},
        {"table the database rejects", "7", "10", "NoSuchTable", "", "NoSuchTable"},
    };
    Fill(1, 20, kOld);
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        w_.services.Reset();
        QString statusAtMessage = "(no message)";
        bool hourglassAtMessage = true;
        w_.services.onMessage = [&](const QString&) {
            statusAtMessage = Status();
            hourglassAtMessage = Hourglass();
        };
        c().txtTage->setText(k.days);
        c().txtDelRecPerTrip->setText(k.perTrip);
        c().txtTabelle->setText(k.table != nullptr ? QString(k.table) : QString::fromStdString(table_));
        c().LabelStatus->setText("before");

        c().Command1->click();

        ASSERT_EQ(w_.services.messages.size(), 1u);
        const QString& shown = w_.services.messages[0];
        if (!k.expected.isEmpty()) {
            EXPECT_EQ(shown, k.expected);
        } else {
            EXPECT_FALSE(shown.isEmpty());
            EXPECT_NE(shown, w_.window->MessageTexts().msgNumbersOnly);
            EXPECT_TRUE(shown.contains(k.contains, Qt::CaseInsensitive)) << shown.toStdString();
        }
        EXPECT_EQ(statusAtMessage, "");
        EXPECT_FALSE(hourglassAtMessage);
        EXPECT_EQ(Status(), "");
        EXPECT_FALSE(Hourglass());
        EXPECT_EQ(w_.services.endRequests, 0);
        EXPECT_TRUE(RunCommandsEnabled());
        EXPECT_EQ(RowCount(), 20);
    }
}

TEST_F(RunCommands, AFailureDuringTheBatchesLeavesTheTimerAndFieldsButAllowsANewRun) {
    Fill(1, 20, kOld);
    c().txtFilePath->setText("/nonexistent-sorvane-folder/deeper/");

    c().Command4->click();  // the export of the first batch fails

    ASSERT_EQ(w_.services.messages.size(), 1u);
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(RowCount(), 20);  // a batch is deleted only after its export
    EXPECT_TRUE(c().timerDeleting->isActive());
    EXPECT_FALSE(c().txtDelRecPerTrip->isEnabled());
    EXPECT_FALSE(c().txtDisplayStatusAfter->isEnabled());
    EXPECT_TRUE(RunCommandsEnabled());

    w_.services.Reset();
    c().Command1->click();
    EXPECT_EQ(w_.services.messages, std::vector<QString>{"Deleting successful"});
    EXPECT_EQ(RowCount(), 0);
    EXPECT_FALSE(c().timerDeleting->isActive());
}

TEST_F(RunCommands, NoSecondRunStartsWhileARunYields) {
    Fill(1, 40, kOld);
    c().txtDelRecPerTrip->setText("1");
    bool enabledDuringRun = true;
    bool fieldsEnabledDuringRun = true;
    QTimer::singleShot(0, [&] {
        enabledDuringRun = c().Command1->isEnabled() || c().Command3->isEnabled() ||
                           c().Command4->isEnabled();
        fieldsEnabledDuringRun = c().txtDelRecPerTrip->isEnabled();
        c().Command1->click();
        c().Command4->click();
        w_.window->RunCommand(kBackupRun);
    });

    c().Command1->click();

    EXPECT_FALSE(enabledDuringRun);
    EXPECT_FALSE(fieldsEnabledDuringRun);
    EXPECT_EQ(w_.services.messages, std::vector<QString>{"Deleting successful"});
    EXPECT_EQ(BackupFiles(), 0);
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(RunCommandsEnabled());
}

TEST_F(RunCommands, TheStatusTickShowsTheDateAndTheBatchesSoFar) {
    Fill(1, 60, kOld);
    c().txtDelRecPerTrip->setText("1");
    c().txtDisplayStatusAfter->setText("3");
    int periodDuringRun = 0;
    QStringList ticks;
    QObject::connect(c().timerDeleting, &QTimer::timeout, [&] { ticks << Status(); });
    QTimer::singleShot(0, [&] {
        periodDuringRun = c().timerDeleting->interval();
        c().timerDeleting->setInterval(0);  // tick at every yield from here on
    });

    c().Command1->click();

    EXPECT_EQ(periodDuringRun, 3000);
    ASSERT_FALSE(ticks.isEmpty());
    const QString today = QString::fromStdString(FormatGeneralDateNow()).section(' ', 0, 0);
    bool countedBatches = false;
    for (const QString& tick : ticks) {
        ASSERT_TRUE(tick.startsWith(today)) << tick.toStdString();
        const int at = tick.indexOf(" Deleted: ");
        ASSERT_GT(at, 0) << tick.toStdString();
        bool isNumber = false;
        const int counter = tick.mid(at + 10).toInt(&isNumber);
        EXPECT_TRUE(isNumber) << tick.toStdString();
        countedBatches = countedBatches || counter > 0;
    }
    EXPECT_TRUE(countedBatches);
}

TEST_F(RunCommands, QuitAndExitEndTheProgramWithoutAQuestion) {
    c().Command2->click();
    EXPECT_EQ(w_.services.endRequests, 1);
    w_.window->ExitAction()->trigger();
    EXPECT_EQ(w_.services.endRequests, 2);
    EXPECT_TRUE(w_.services.questions.empty());
    EXPECT_TRUE(w_.services.messages.empty());
}

TEST_F(RunCommands, QuitDuringARunEndsTheProgramAtThatYield) {
    Fill(1, 30, kOld);
    c().txtDelRecPerTrip->setText("1");
    int remainingWhenQuit = -1;
    QTimer::singleShot(0, [&] {
        remainingWhenQuit = RowCount();
        c().Command2->click();
    });
    c().Command1->click();
    EXPECT_EQ(w_.services.endRequests, 2);  // Quit, then the finished run
    EXPECT_GT(remainingWhenQuit, 0);
}

// The real end of the program, asked for from inside a nested event loop as
// during a run's yield, stops the process there with status 0.
TEST(EndProgramDeathTest, QuitInsideANestedYieldEndsTheProcessAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ToolkitWindowServices services;
            MainWindow window(services);
            QTimer::singleShot(0, [&] { window.Controls().Command2->click(); });
            for (int i = 0; i < 50; ++i) QCoreApplication::processEvents();  // the yield
            std::fprintf(stderr, "still running\n");
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace sorvane
