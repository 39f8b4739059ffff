// The Help menu: the About box, the web links and the manual-page window.

#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <fstream>

#include "languages_help/clickable_label.h"
#include "languages_help/desktop_launcher.h"
#include "languages_help/help_test_support.h"
#include "languages_help/window_manual_page_sink.h"
#include "mainwindow/window_test_support.h"
#include "common/reporting.h"
#include "startup/startup.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

class HelpMenu : public ::testing::Test {
protected:
    void SetUp() override { test::DestroyHelpWindows(); }
    QAction* Item(const char* name) { return w_.window->findChild<QAction*>(QString::fromLatin1(name)); }
    test::WindowUnderTest w_;
};

TEST_F(HelpMenu, AboutOpenedTwiceIsOneModelessBoxWithItsLogoAndWebLabel) {
    Item("About")->trigger();
    QDialog* box = ExistingAboutBox();
    Item("About")->trigger();
    EXPECT_EQ(ExistingAboutBox(), box);
    const auto tops = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(tops.begin(), tops.end(), [](QWidget* w) { return w->objectName() == "frmAbout"; }), 1);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->findChild<QLabel*>("pbLogo")->pixmap().size(), QSize(200, 81));
    EXPECT_EQ(box->findChild<QLabel*>("lblwwwkorvenelcom")->toolTip(), "Click here to visit our Website");
    EXPECT_EQ(box->findChild<QLabel*>("lblwwwkorvenelcom")->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(HelpMenu, EnterAndEscCloseAndDestroyTheAboutBox) {
    for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        About_Click();
        QPointer<QDialog> box = ExistingAboutBox();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(box->findChild<QPushButton*>("cmdOK"), &press);
        test::RunPendingDeletes();
        EXPECT_TRUE(box.isNull()) << key;
    }
}

TEST_F(HelpMenu, FailedWebLabelIsReportedOverTheAboutBoxWhichStaysOpen) {
    test::ScriptedLauncher desktop(5);
    test::MessageBoxCatcher messages;
    About_Click();
    QPointer<QDialog> box = ExistingAboutBox();
    emit box->findChild<ClickableLabel*>("lblwwwkorvenelcom")->clicked();
    test::RunPendingDeletes();
    EXPECT_EQ(desktop.addresses, QStringList{"http://www.sorvane.example"});
    ASSERT_EQ(messages.seen.size(), 1u);
    EXPECT_EQ(messages.seen[0].text, "Error 5 opening www.sorvane.example");
    EXPECT_EQ(messages.seen[0].parent, box.data());
    EXPECT_TRUE(box && box->isVisible());
}

// 33 is the least success and 32 the worst failure a launcher can answer.
TEST_F(HelpMenu, WebLinksReportOnlyAFailureWithItsNumberAndStoredAddress) {
    for (const WebLinkItem& link : kHelpWebLinks) {
        for (const int result : {33, 32}) {
            test::ScriptedLauncher desktop(result);
            test::MessageBoxCatcher messages;
            Item(link.objectName)->trigger();
            EXPECT_EQ(desktop.addresses, QStringList{QString(link.scheme) + link.storedAddress});
            ASSERT_EQ(messages.seen.size(), result == 32 ? 1u : 0u) << link.objectName;
            if (result == 33) continue;
            EXPECT_EQ(messages.seen[0].text, QString("Error 32 opening ") + link.storedAddress);
            EXPECT_EQ(messages.seen[0].title, "Sorvane");
            EXPECT_EQ(messages.seen[0].icon, QMessageBox::Critical);
        }
    }
    EXPECT_STREQ(kHelpWebLinks[0].storedAddress, "support.sorvane.example/tools/SupportRequest.asp?PellrowClient=1");
}

// The real launcher, against stand-in xdg-open programs on PATH.
TEST(DesktopLauncher, MapsTheOpenersVerdictToAShellResult) {
    test::TempDir bin;
    const std::string savedPath = std::getenv("PATH");
    setenv("PATH", bin.Path().c_str(), 1);
    EXPECT_EQ(OpenWithDesktop("http://www.sorvane.example"), kOpenerNotFound);
    for (const auto& [body, expected] : {std::pair{"exit 0", kDesktopOpening}, {"exit 4", 4}, {"exit 77", 32},
                                         {"kill -KILL $$", 32}}) {
        std::ofstream(bin.Path() / "xdg-open") << "#!/bin/sh\n" << body << "\n";
        std::filesystem::permissions(bin.Path() / "xdg-open", std::filesystem::perms::owner_all);
        EXPECT_EQ(OpenWithDesktop("http://www.sorvane.example"), expected) << body;
    }
    setenv("PATH", savedPath.c_str(), 1);
}

QString ShownManpage() { return ExistingManpageWindow()->findChild<QPlainTextEdit*>("Text1")->toPlainText(); }

TEST_F(HelpMenu, ManpageAppendsTheFileOnEachChoiceAndStartsAfreshAfterClosing) {
    test::TempDir folder;
    test::ScopedCurrentDir inFolder(folder.Path());
    std::ofstream(folder.Path() / "sorvane-manpage.txt", std::ios::binary) << "NAME\r\n  sorvane";
    for (int choice = 0; choice < 2; ++choice) Item("Manpage")->trigger();
    EXPECT_EQ(ShownManpage(), "NAME\n  sorvane\nNAME\n  sorvane\n");
    ExistingManpageWindow()->close();
    test::RunPendingDeletes();
    EXPECT_EQ(ExistingManpageWindow(), nullptr);
    Item("Manpage")->trigger();
    EXPECT_EQ(ShownManpage(), "NAME\n  sorvane\n");
    EXPECT_TRUE(ExistingManpageWindow()->isVisible());
}

TEST_F(HelpMenu, OverlongOrUnreadableManpageIsShownInPartAndReported) {
    for (const std::size_t count : {std::size_t{32768}, std::size_t{32769}}) {
        const std::vector<std::string> page(count, "line");
        test::MessageBoxCatcher messages;
        Manpage_Click(nullptr, [&] { return std::optional(page); });
        EXPECT_EQ(ShownManpage().count('\n'), 32768) << count;
        EXPECT_EQ(messages.seen.size(), count == 32768 ? 0u : 1u);
        EXPECT_TRUE(messages.seen.empty() || messages.seen[0].text.contains("32769"));
        test::DestroyHelpWindows();
    }
    test::MessageBoxCatcher messages;
    Manpage_Click(nullptr, [] { return std::optional<std::vector<std::string>>{{"kept"}}; });
    Manpage_Click(nullptr, [] { return std::optional<std::vector<std::string>>(); });
    EXPECT_EQ(ShownManpage(), "kept\n");
    ASSERT_EQ(messages.seen.size(), 1u);
    EXPECT_TRUE(messages.seen[0].text.contains("sorvane-manpage.txt"));
}

// -h and -help with a display: both append to one window, and the run without
// -dsn stays in the event loop until that window is closed.
TEST(ManualPageOption, FillsOneWindowThatKeepsTheRunUntilItIsClosed) {
    struct QuietEventLog : EventLogSink {
        bool Write(std::int32_t, const std::string&, std::int16_t, std::int16_t) override { return true; }
    } eventLog;
    RunLog log(eventLog);
    test::DestroyHelpWindows();
    int argc = 1;
    char name[] = "sorvane";
    char* argv[] = {name, nullptr};
    const std::unique_ptr<ManualPageSink> sink = MakeWindowManualPageSink(argc, argv);
    ASSERT_TRUE(sink);
    // Closes the window only once both copies are in, so a close that came
    // before the wait would show as a second window or a missing copy.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* window = ExistingManpageWindow(); window && ShownManpage() == "a\nb\na\nb\n") window->close();
    });
    closer.start(10);
    bool forced = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&forced] {
        forced = true;
        if (QWidget* window = ExistingManpageWindow()) window->close();
    });
    deadline.start(10000);
    StartupServices services;
    services.loadManualPage = [] { return std::optional<std::vector<std::string>>{{"a", "b"}}; };
    PurgeHost host;
    EXPECT_EQ(RunStartup({"", "-h", "-help"}, *sink, host, log, services), kExitDsnMissing);
    test::RunPendingDeletes();
    EXPECT_FALSE(forced) << "the window never held both copies";
    EXPECT_EQ(ExistingManpageWindow(), nullptr);
}

}  // namespace
}  // namespace sorvane
