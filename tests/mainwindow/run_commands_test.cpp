// The run commands against a real SQLite data source.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <set>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

#include "mainwindow/window_test_support.h"
#include "support/csv_reader.h"
#include "support/odbc_test_env.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

constexpr const char* kOld = "2020-03-01 10:00:00";
constexpr const char* kFuture = "2999-01-01 10:00:00";
const QStringList kDropQuestion = {"This will drop the whole database, continue ?", "WARNING!"};

class RunCommands : public ::testing::Test {
protected:
    void SetUp() override {
        test::CreateLogTable(source_, table_);
        FillFields(c());
        w_.services.onMessage = [this] { statusAtMessage_ = Status(); hourglassAtMessage_ = Hourglass(); };
    }
    void Fill(int firstId, int lastId, const char* time) {
        std::vector<test::LogRow> rows;
        for (int id = firstId; id <= lastId; ++id) rows.push_back({id, time, time, 1, 6, "h", "t", "m"});
        test::InsertLogRows(source_, table_, rows);
    }
    void FillFields(const FormControls& c) const {
        c.txtDSN->setText(QString::fromStdString(source_.dsn));
        c.txtTabelle->setText(QString::fromStdString(table_));
        c.txtTage->setText("7");
        c.txtFilePath->setText(QString::fromStdString(backupDir_.Path().string()) + "/");
    }
    int RowCount() const { return std::stoi(*test::FetchRows(source_, "SELECT count(*) FROM " + table_)[0][0]); }
    const FormControls& c() const { return w_.c(); }
    QString Status() const { return c().LabelStatus->text(); }
    bool Hourglass() const { return w_.window->cursor().shape() == Qt::WaitCursor; }
    // After a run: status line, hourglass, end requests, rows left, run commands usable.
    std::tuple<QString, bool, int, int, bool> State() const {
        const bool usable = c().Command1->isEnabled() && c().Command3->isEnabled() && c().Command4->isEnabled();
        return {Status(), Hourglass(), w_.services.endRequests, RowCount(), usable};
    }

    test::WindowUnderTest w_;
    test::TestDataSource source_ = test::MakeSqliteDataSource();
    std::string table_ = test::UniqueTableName("WindowEvents");
    test::TempDir backupDir_;
    QString statusAtMessage_;
    bool hourglassAtMessage_ = false;
};

// Days as the run takes it: "00" and a pasted "0.4" (the key filter sees no
// paste) are 0 as "0" is.
TEST_F(RunCommands, DaysZeroAsksBeforeDeletingRuns) {
    const std::tuple<QPushButton* FormControls::*, const char*, bool, bool, QString, int> cases[] = {
        // command, Days, answer, asks, closing message (none: no run), rows left of 5
        {&FormControls::Command4, "0", false, true, "", 5},
        {&FormControls::Command1, "0", true, true, "Deleting successful", 0},
        {&FormControls::Command3, "0", false, false, "Backup was successful", 5},
        {&FormControls::Command1, "00", false, true, "", 5},
        {&FormControls::Command4, "000", false, true, "", 5},
        {&FormControls::Command1, "0.4", false, true, "", 5},
        {&FormControls::Command1, "0.6", false, false, "Deleting successful", 0}};
    for (const auto& [command, days, answerYes, asks, message, rowsLeft] : cases) {
        test::CreateLogTable(source_, table_);
        Fill(1, 5, kOld);
        w_.services = test::RecordingWindowServices();
        w_.services.answerYes = answerYes;
        c().txtTage->setText(days);
        c().LabelStatus->setText("before");
        (c().*command)->click();
        ASSERT_EQ(w_.services.questions.size(), asks ? 1u : 0u) << days;
        for (const auto& q : w_.services.questions) EXPECT_EQ(QStringList({q.prompt, q.title}), kDropQuestion);
        EXPECT_EQ(w_.services.messages, message.isEmpty() ? std::vector<QString>{} : std::vector{message});
        EXPECT_EQ(std::tuple(Status() == "before", Hourglass(), w_.services.endRequests, RowCount()),
                  std::tuple(message.isEmpty(), false, message.isEmpty() ? 0 : 1, rowsLeft));
    }
}

// The question as the program asks it, in each language: Enter and Esc answer
// No and start no run.
TEST_F(RunCommands, EnterOrEscOnTheQuestionKeepsTheTable) {
    Fill(1, 5, kOld);
    w_.services.askForReal = true;
    c().txtTage->setText("00");
    const std::pair<QAction* WindowMenus::*, int> cases[] = {
        {&WindowMenus::English, Qt::Key_Return}, {&WindowMenus::English, Qt::Key_Escape},
        {&WindowMenus::French, Qt::Key_Enter}, {&WindowMenus::German, Qt::Key_Return},
        {&WindowMenus::German, Qt::Key_Escape}};
    for (const auto& [language, key] : cases) {
        SCOPED_TRACE(key);
        (w_.window->Menus().*language)->trigger();
        QString asked;
        bool answered = false;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (box == nullptr) return;
            asked = box->windowTitle();
            test::PressKey(key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier, QString(),
                           box->focusWidget() ? box->focusWidget() : box);
            answered = !box->isVisible();
            if (!answered) box->close();
        });
        c().Command4->click();
        EXPECT_EQ(std::tuple(asked, answered), std::tuple(w_.window->MessageTexts().msgWarningTitle, true));
        EXPECT_EQ(std::tuple(w_.services.messages.size(), RowCount()), std::tuple(0u, 5));
    }
}

// One batch per row so that the run yields often: a second run is refused and Quit still answers.
TEST_F(RunCommands, ADeletingRunRemovesTheOldRowsAndEndsTheProgram) {
    Fill(1, 25, kOld);
    Fill(26, 30, kFuture);
    c().txtDelRecPerTrip->setText("1");
    c().txtDisplayStatusAfter->setText("3");
    std::tuple<bool, bool, bool, bool, int> duringRun;  // the run commands, the fields, the timer's period
    QTimer::singleShot(0, [&] {
        duringRun = {c().Command1->isEnabled(), c().Command3->isEnabled(), c().Command4->isEnabled(),
                     c().txtDelRecPerTrip->isEnabled(), c().timerDeleting->interval()};
        w_.window->RunCommand(kBackupRun);
        c().Command2->click();
    });
    c().Command1->click();
    EXPECT_EQ(duringRun, std::tuple(false, false, false, false, 3000));
    EXPECT_EQ(w_.services.messages, std::vector<QString>{"Deleting successful"});
    EXPECT_TRUE(hourglassAtMessage_ && statusAtMessage_.startsWith("Deleted  25 records in "))
        << statusAtMessage_.toStdString();
    EXPECT_EQ(State(), std::tuple(statusAtMessage_, false, 2, 5, true));  // Quit, then the finished run
    EXPECT_TRUE(std::filesystem::is_empty(backupDir_.Path()));  // the refused backup run wrote nothing
}

// Back in the window, Quit and Exit each end the program without a question.
TEST_F(RunCommands, ARunThatFindsNoRowsReturnsToTheWindowWhereQuitAndExitEndTheProgram) {
    Fill(1, 4, kFuture);
    c().Command4->click();
    EXPECT_EQ(w_.services.messages, std::vector<QString>{"No Data is available"});
    EXPECT_EQ(State(), std::tuple(QString(), false, 0, 4, true));
    c().Command2->click();
    EXPECT_EQ(w_.services.endRequests, 1);
    w_.window->findChild<QAction*>("Exit1")->trigger();
    EXPECT_EQ(w_.services.endRequests, 2);
    EXPECT_TRUE(w_.services.questions.empty() && w_.services.messages.size() == 1u);
}

TEST_F(RunCommands, FailuresAreShownAndClearTheStatusLine) {
    const QString numbersOnly = "Please type only numbers in the \"Days\" field";
    const std::tuple<const char*, const char*, QString, QString, const char*> cases[] = {
        // Days, records per trip, table (empty: the test's), message (empty: the driver's, naming the table), DSN
        {"", "40000", "", numbersOnly, nullptr},  // Days is read first
        {"7", "2147483648", "", "Overflow", nullptr},
        {"7", "0", "", "", nullptr},
        {"7", "10", "NoSuchTable", "", nullptr},
        {"7", "10", "", "No data source name (DSN) is given: nothing to connect to", ""}};
    Fill(1, 20, kOld);
    for (const auto& [days, perTrip, table, message, dsn] : cases) {
        w_.services.messages.clear();
        c().txtDSN->setText(QString::fromStdString(dsn ? dsn : source_.dsn));
        c().txtTage->setText(days);
        c().txtDelRecPerTrip->setText(perTrip);
        c().txtTabelle->setText(table.isEmpty() ? QString::fromStdString(table_) : table);
        c().LabelStatus->setText("before");
        hourglassAtMessage_ = true;
        c().Command1->click();
        ASSERT_EQ(w_.services.messages.size(), 1u) << perTrip;
        const QString& shown = w_.services.messages[0];
        EXPECT_TRUE(message.isEmpty() ? !shown.isEmpty() && shown != numbersOnly && shown.contains(table)
                                      : shown == message)
            << shown.toStdString();
        EXPECT_EQ(std::tuple(statusAtMessage_, hourglassAtMessage_), std::tuple(QString(), false));
        EXPECT_EQ(State(), std::tuple(QString(), false, 0, 20, true));
    }
}

TEST_F(RunCommands, AFailureDuringTheBatchesStopsTheTickAndFreesTheFieldsForANewRun) {
    Fill(1, 20, kOld);
    c().txtFilePath->setText("/nonexistent-sorvane-folder/deeper/");
    bool tickingAtMessage = false;
    w_.services.onMessage = [&] { tickingAtMessage = c().timerDeleting->isActive(); };
    c().Command4->click();  // the export of the first batch fails: that batch is not deleted
    ASSERT_EQ(w_.services.messages.size(), 1u);
    EXPECT_EQ(State(), std::tuple(QString(), false, 0, 20, true));
    EXPECT_FALSE(tickingAtMessage || c().timerDeleting->isActive());
    EXPECT_TRUE(c().txtDelRecPerTrip->isEnabled() && c().txtDisplayStatusAfter->isEnabled());
    c().Command1->click();
    EXPECT_EQ(w_.services.messages.back(), "Deleting successful");
    EXPECT_EQ(RowCount(), 0);
}

// Closing the window through its frame during a run ends the program as Quit
// does: the run stops where the window handles the close. The real services
// end the process, so the window runs in a child process.
TEST_F(RunCommands, ClosingTheWindowDuringARunStopsTheRunWithTheBackupWhole) {
    constexpr int kOldRows = 200;
    Fill(1, kOldRows, kOld);
    Fill(kOldRows + 1, kOldRows + 5, kFuture);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        alarm(20);  // a run that is not stopped would wait on its closing message
        ToolkitWindowServices services;
        MainWindow window(services);
        const FormControls& c = window.Controls();
        FillFields(c);
        c.txtDelRecPerTrip->setText("1");
        window.show();
        // Closed once some batches are through, while the run goes on.
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (c.LabelStatus->text().startsWith("Deleted records no:  1")) window.close();
        });
        closer.start(0);
        c.Command4->click();
        std::_Exit(3);  // the run came back: it was not stopped and did not end the program
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);

    std::set<int> left;
    for (const auto& row : test::FetchRows(source_, "SELECT id FROM " + table_)) left.insert(std::stoi(*row[0]));
    std::multiset<int> backedUp;
    for (const auto& row : test::ReadCsvWithPython(backupDir_.Path() / "BackupFile.csv")) {
        backedUp.insert(std::stoi(row.at(0)));
    }
    EXPECT_TRUE(left.count(1) == 1 && left.count(kOldRows) == 0) << "the run went on to the end or never began";
    // Every row left or backed up once, young rows never backed up, and the
    // backup the old rows from the top down without a gap: the rows both
    // there and still in the table are those exported but not yet deleted.
    for (int id = 1; id <= kOldRows + 5; ++id) {
        const auto copies = static_cast<int>(backedUp.count(id));
        EXPECT_TRUE(copies <= (id <= kOldRows ? 1 : 0) && copies + left.count(id) >= 1) << "row " << id;
    }
    ASSERT_FALSE(backedUp.empty());
    EXPECT_EQ(static_cast<int>(backedUp.size()), kOldRows - *backedUp.begin() + 1);
}

}  // namespace
}  // namespace sorvane
