// The manual-page window: Help > Manpage appends the page (twice when chosen
// twice), closing destroys it, and a page that cannot be read or is too long
// does not end the program. Also the window sink that -h and -help use.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <csignal>
#include <fstream>

#include "languages_help/display_probe.h"
#include "languages_help/help_test_support.h"
#include "languages_help/manpage_window.h"
#include "languages_help/window_manual_page_sink.h"
#include "mainwindow/window_test_support.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

using Lines = std::vector<std::string>;

ManualPageLoader Serving(std::optional<Lines> lines) {
    return [lines] { return lines; };
}

QString ShownText() {
    QWidget* window = ExistingManpageWindow();
    return window ? window->findChild<QPlainTextEdit*>("Text1")->toPlainText() : QString();
}

class ManpageWindowTest : public ::testing::Test {
protected:
    void SetUp() override { test::DestroyHelpWindows(); }
    void TearDown() override { test::DestroyHelpWindows(); }
};

TEST_F(ManpageWindowTest, ShowsTheFileFromTheCurrentFolderLineByLine) {
    struct Case {
        const char* content;
        const char* shown;  // CR LF ends each line; the widget shows it as one line break
    };
    const Case cases[] = {
        {"a\r\nb\r\nc", "a\nb\nc\n"},
        {"a\r\nb\r\nc\r\n", "a\nb\nc\n\n"},
    };
    for (const Case& c : cases) {
        test::TempDir folder;
        test::ScopedCurrentDir inFolder(folder.Path());
        std::ofstream(folder.Path() / "sorvane-manpage.txt", std::ios::binary) << c.content;
        test::MessageBoxCatcher messages;

        test::WindowUnderTest w;
        w.window->findChild<QAction*>("Manpage")->trigger();

        EXPECT_EQ(ShownText(), QString::fromLatin1(c.shown)) << c.content;
        EXPECT_TRUE(messages.Seen().empty());
        ASSERT_NE(ExistingManpageWindow(), nullptr);
        EXPECT_TRUE(ExistingManpageWindow()->isVisible());
        test::DestroyHelpWindows();
    }
}

TEST_F(ManpageWindowTest, AppendsOnEachChoiceAndStartsAfreshAfterClosing) {
    const Lines page{"NAME", "  sorvane"};
    Manpage_Click(nullptr, Serving(page));
    Manpage_Click(nullptr, Serving(page));
    EXPECT_EQ(ShownText(), "NAME\n  sorvane\nNAME\n  sorvane\n");
    EXPECT_EQ(test::CountTopLevels("frmManpage"), 1);

    QPointer<QWidget> window = ExistingManpageWindow();
    window->close();
    test::RunPendingDeletes();
    EXPECT_TRUE(window.isNull());

    Manpage_Click(nullptr, Serving(page));
    EXPECT_EQ(ShownText(), "NAME\n  sorvane\n");
}

TEST_F(ManpageWindowTest, UnreadablePageIsReportedAndLeavesAnOpenWindowAlone) {
    test::MessageBoxCatcher messages;
    Manpage_Click(nullptr, Serving(std::nullopt));
    EXPECT_EQ(ExistingManpageWindow(), nullptr);
    ASSERT_EQ(messages.Seen().size(), 1u);
    EXPECT_TRUE(messages.Seen()[0].text.contains("sorvane-manpage.txt"));
    EXPECT_EQ(messages.Seen()[0].title, "Sorvane");

    Manpage_Click(nullptr, Serving(Lines{"kept"}));
    Manpage_Click(nullptr, Serving(std::nullopt));
    EXPECT_EQ(ShownText(), "kept\n");
    EXPECT_EQ(messages.Seen().size(), 2u);
}

TEST_F(ManpageWindowTest, OverlongPageShowsItsFirst32768LinesAndSaysSo) {
    for (const std::size_t count : {std::size_t{32768}, std::size_t{32769}, std::size_t{40000}}) {
        Lines page(count);
        for (std::size_t i = 0; i < count; ++i) page[i] = std::to_string(i);
        test::MessageBoxCatcher messages;
        Manpage_Click(nullptr, Serving(page));

        const QStringList shown = ShownText().split('\n');
        ASSERT_EQ(shown.size(), 32768 + 1) << count;  // the last line end leaves an empty piece
        EXPECT_EQ(shown[32767], "32767");
        EXPECT_TRUE(ExistingManpageWindow()->isVisible());
        if (count == 32768) {
            EXPECT_TRUE(messages.Seen().empty());
        } else {
            ASSERT_EQ(messages.Seen().size(), 1u);
            EXPECT_TRUE(messages.Seen()[0].text.contains(QString::number(count)));
            EXPECT_TRUE(messages.Seen()[0].text.contains("32768"));
        }
        test::DestroyHelpWindows();
    }
}

// -h and -help in a command-line run, with a display.
class WindowSink : public ManpageWindowTest {};

TEST_F(WindowSink, FillsShowsAndWaitsUntilTheWindowIsClosed) {
    int argc = 1;
    char name[] = "sorvane";
    char* argv[] = {name, nullptr};
    std::unique_ptr<ManualPageSink> sink = MakeWindowManualPageSink(argc, argv);
    ASSERT_NE(sink, nullptr);

    // -h -help: the page twice in one window.
    for (int copy = 0; copy < 2; ++copy) {
        sink->AppendLine("a");
        sink->AppendLine("b");
        sink->Show();
        sink->Yield();
    }
    EXPECT_EQ(ShownText(), "a\nb\na\nb\n");
    QPointer<QWidget> window = ExistingManpageWindow();
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());

    bool closedByUser = false;
    QTimer::singleShot(50, [&] {
        closedByUser = true;
        window->close();
    });
    sink->WaitUntilClosed();
    EXPECT_TRUE(closedByUser);
    EXPECT_TRUE(window.isNull());
}

TEST_F(WindowSink, WindowFilledButNeverShownKeepsNothingRunning) {
    int argc = 1;
    char name[] = "sorvane";
    char* argv[] = {name, nullptr};
    std::unique_ptr<ManualPageSink> sink = MakeWindowManualPageSink(argc, argv);
    ASSERT_NE(sink, nullptr);
    sink->AppendLine("half a page");
    ASSERT_NE(ExistingManpageWindow(), nullptr);
    sink->WaitUntilClosed();  // returns at once
    test::RunPendingDeletes();
    EXPECT_EQ(ExistingManpageWindow(), nullptr);
}

TEST(DisplayProbe, OnlyANormalReturnInTheChildCountsAsSuccess) {
    EXPECT_TRUE(SucceedsInChildProcess([] {}, 5));
    EXPECT_FALSE(SucceedsInChildProcess([] { std::abort(); }, 5));
    EXPECT_FALSE(SucceedsInChildProcess([] { _exit(1); }, 5));
    EXPECT_FALSE(SucceedsInChildProcess([] { std::raise(SIGSEGV); }, 5));
    EXPECT_FALSE(SucceedsInChildProcess([] { pause(); }, 1));  // a hang ends with the time limit
}

}  // namespace
}  // namespace sorvane
