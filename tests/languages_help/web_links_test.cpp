// The Help menu's web links: the address each item hands to the desktop, the
// failure message with the shell-style result, and the desktop launcher
// itself against stand-in xdg-open programs.

#include <gtest/gtest.h>

#include <QAction>
#include <QMessageBox>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "languages_help/desktop_launcher.h"
#include "languages_help/help_test_support.h"
#include "languages_help/web_links.h"
#include "mainwindow/window_test_support.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

struct LinkCase {
    const char* item;
    const char* handedOver;    // scheme and stored address
    const char* storedAddress; // what a failure message names
};

const LinkCase kLinks[] = {
    {"RequestSupport", "https://support.sorvane.example/tools/SupportRequest.asp?PellrowClient=1",
     "support.sorvane.example/tools/SupportRequest.asp?PellrowClient=1"},
    {"OrmistelMainPage", "http://www.sorvane.example", "www.sorvane.example"},
    {"ProductAnnouncementLists", "http://lists.sorvane.example", "lists.sorvane.example"},
    {"SupportForums", "http://forums.sorvane.example", "forums.sorvane.example"},
};

void PrintTo(const LinkCase& c, std::ostream* out) { *out << c.item; }

class HelpWebLinks : public ::testing::TestWithParam<LinkCase> {
protected:
    void Choose() {
        QAction* item = w_.window->findChild<QAction*>(QString::fromLatin1(GetParam().item));
        ASSERT_NE(item, nullptr);
        item->trigger();
    }

    test::WindowUnderTest w_;
};

TEST_P(HelpWebLinks, SuccessHandsTheFullAddressOverAndShowsNothing) {
    for (const int success : {33, 42}) {
        test::ScriptedLauncher desktop(success);
        test::MessageBoxCatcher messages;
        Choose();
        EXPECT_EQ(desktop.addresses, QStringList{QString::fromLatin1(GetParam().handedOver)});
        EXPECT_TRUE(messages.Seen().empty()) << "result " << success;
    }
}

TEST_P(HelpWebLinks, FailureShowsTheResultAndTheStoredAddress) {
    for (const int failure : {0, 2, 32}) {
        test::ScriptedLauncher desktop(failure);
        test::MessageBoxCatcher messages;
        Choose();
        ASSERT_EQ(messages.Seen().size(), 1u) << "result " << failure;
        const test::SeenMessageBox& seen = messages.Seen()[0];
        EXPECT_EQ(seen.text, QStringLiteral("Error %1 opening %2").arg(failure).arg(GetParam().storedAddress));
        EXPECT_FALSE(seen.text.contains("http"));
        EXPECT_EQ(seen.title, "Sorvane");
        EXPECT_EQ(seen.icon, QMessageBox::Critical);
        EXPECT_EQ(seen.parent, w_.window.get());
    }
}

INSTANTIATE_TEST_SUITE_P(EachLink, HelpWebLinks, ::testing::ValuesIn(kLinks),
                         [](const auto& info) { return std::string(info.param.item); });

// The real launcher, with PATH pointing at a folder holding a stand-in
// xdg-open (or none).
class DesktopLauncher : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("PATH");
        savedPath_ = path ? path : "";
        setenv("PATH", bin_.Path().c_str(), 1);
    }
    void TearDown() override { setenv("PATH", savedPath_.c_str(), 1); }

    void InstallOpener(const std::string& body) {
        const std::filesystem::path opener = bin_.Path() / "xdg-open";
        std::ofstream(opener) << "#!/bin/sh\n" << body << "\n";
        std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    }

    test::TempDir bin_;
    std::string savedPath_;
};

TEST_F(DesktopLauncher, MapsTheOpenersVerdictToAShellResult) {
    struct Case {
        const char* body;
        int expected;
    };
    const Case cases[] = {
        {"exit 0", kDesktopOpening}, {"exit 1", 1},   {"exit 4", 4},
        {"exit 32", 32},             {"exit 77", 32}, {"kill -KILL $$", 32},
    };
    for (const Case& c : cases) {
        InstallOpener(c.body);
        EXPECT_EQ(OpenWithDesktop("http://www.sorvane.example"), c.expected) << c.body;
    }
}

TEST_F(DesktopLauncher, HandsTheAddressOverAsOneArgument) {
    const std::filesystem::path seen = bin_.Path() / "seen.txt";
    InstallOpener("printf '%s|%s' \"$#\" \"$1\" > '" + seen.string() + "'");
    const char* address = "https://support.sorvane.example/tools/SupportRequest.asp?PellrowClient=1";
    EXPECT_GT(OpenWithDesktop(QString::fromLatin1(address)), 32);
    EXPECT_EQ(test::ReadWholeFile(seen), std::string("1|") + address);
}

TEST_F(DesktopLauncher, MissingOpenerIsAFailureNotACrash) {
    EXPECT_EQ(OpenWithDesktop("http://www.sorvane.example"), kOpenerNotFound);
}

}  // namespace
}  // namespace sorvane
