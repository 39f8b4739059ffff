// The program ends when its last visible window closes: a hidden About box
// left behind by a language switch does not keep it running, an open About
// box or manual-page window does.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

#include "languages_help/about_box.h"
#include "languages_help/help_test_support.h"
#include "languages_help/language_table.h"
#include "languages_help/manpage_window.h"
#include "mainwindow/window_test_support.h"

namespace sorvane {
namespace {

constexpr int kGiveUpMs = 5000;
constexpr int kExitWhenStuck = 99;

class ProgramLifetime : public ::testing::Test {
protected:
    void SetUp() override {
        test::DestroyHelpWindows();
        // Windows other tests left on screen would keep the program running.
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget != w_.window.get()) widget->hide();
        }
        ASSERT_TRUE(QApplication::quitOnLastWindowClosed());
    }
    void TearDown() override {
        SetAboutLanguageTexts(kAboutCaption.In(Language::English), kAboutMoreInformationAt.In(Language::English));
        test::DestroyHelpWindows();
    }

    // Runs the program's event loop with `step` queued; true when the program
    // ended by itself, false when it was still running after kGiveUpMs.
    static bool ProgramEnds(const std::function<void()>& step) {
        QTimer::singleShot(0, step);
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(kExitWhenStuck); });
        giveUp.start(kGiveUpMs);
        return QApplication::exec() != kExitWhenStuck;
    }

    void Choose(const char* item) { w_.window->findChild<QAction*>(QString::fromLatin1(item))->trigger(); }

    test::WindowUnderTest w_;
};

TEST_F(ProgramLifetime, EndsWhenTheMainWindowClosesAfterALanguageSwitch) {
    Choose("German");
    ASSERT_NE(ExistingAboutBox(), nullptr);
    ASSERT_FALSE(ExistingAboutBox()->isVisible());

    EXPECT_TRUE(ProgramEnds([this] { w_.window->close(); }));
    test::RunPendingDeletes();
    EXPECT_EQ(ExistingAboutBox(), nullptr);  // it went with the program
}

// An open About box or manual page keeps the program running after the main
// window has closed; closing it ends the program.
struct OpenWindowCase {
    const char* name;
    std::function<void(QWidget&)> open;
    std::function<QWidget*()> existing;
};

void PrintTo(const OpenWindowCase& c, std::ostream* out) { *out << c.name; }

class ProgramLifetimeWithOpenWindow : public ProgramLifetime,
                                      public ::testing::WithParamInterface<OpenWindowCase> {};

TEST_P(ProgramLifetimeWithOpenWindow, EndsOnlyWhenTheLastVisibleWindowCloses) {
    Choose("French");  // leaves a hidden About box behind as well
    GetParam().open(*w_.window);
    ASSERT_NE(GetParam().existing(), nullptr);

    bool runningAfterMainWindowClosed = false;
    QTimer later;  // owned here, so it cannot fire into another test
    later.setSingleShot(true);
    later.setTimerType(Qt::PreciseTimer);
    later.callOnTimeout([&] {
        runningAfterMainWindowClosed = true;
        if (QWidget* open = GetParam().existing()) open->close();
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(ProgramEnds([&] {
        w_.window->close();
        later.start(300);
    }));
    EXPECT_TRUE(runningAfterMainWindowClosed);
    EXPECT_GE(clock.elapsed(), 300);
}

INSTANTIATE_TEST_SUITE_P(
    AboutOrManpage, ProgramLifetimeWithOpenWindow,
    ::testing::Values(
        OpenWindowCase{"AboutBox", [](QWidget& window) { window.findChild<QAction*>("About")->trigger(); },
                       [] { return static_cast<QWidget*>(ExistingAboutBox()); }},
        OpenWindowCase{"ManualPage",
                       [](QWidget& window) {
                           Manpage_Click(&window, [] { return std::optional<std::vector<std::string>>{{"x"}}; });
                       },
                       [] { return ExistingManpageWindow(); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sorvane
