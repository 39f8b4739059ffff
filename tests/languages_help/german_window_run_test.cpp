// A run started from the window after choosing German: the Days "0" question
// and the status line speak German.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "languages_help/help_test_support.h"
#include "mainwindow/window_test_support.h"
#include "support/odbc_test_env.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

TEST(GermanWindowRun, AsksAndReportsInGerman) {
    test::TestDataSource source = test::MakeSqliteDataSource();
    const std::string table = test::UniqueTableName("GermanEvents");
    test::CreateLogTable(source, table);
    test::InsertLogRows(source, table, {{1, "2020-03-01 10:00:00", "2020-03-01 10:00:00", 1, 6, "h", "t", "m"}});
    test::TempDir backups;

    test::WindowUnderTest w;
    const FormControls& c = w.c();
    c.txtDSN->setText(QString::fromStdString(source.dsn));
    c.txtTabelle->setText(QString::fromStdString(table));
    c.txtBenutzer->setText("");
    c.txtFilePath->setText(QString::fromStdString(backups.Path().string()) + "/");
    c.txtTage->setText("0");
    w.window->findChild<QAction*>("German")->trigger();

    QString statusAtFirstYield;
    QTimer::singleShot(0, [&] { statusAtFirstYield = c.LabelStatus->text(); });
    c.Command1->click();

    ASSERT_EQ(w.services.questions.size(), 1u);
    EXPECT_EQ(w.services.questions[0].prompt, "Wollen sie wirklich die gesamte Datenbank leeren ?");
    EXPECT_EQ(w.services.questions[0].title, "WARNUNG!");
    EXPECT_EQ(statusAtFirstYield, "Lösche . . . ");
    EXPECT_EQ(w.services.endRequests, 1);  // the run got through its batches
    test::DestroyHelpWindows();
}

}  // namespace
}  // namespace sorvane
