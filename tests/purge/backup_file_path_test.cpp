#include <gtest/gtest.h>

#include "purge/backup_file_path.h"
#include "purge/failure_of.h"
#include "support/calendar.h"
#include "support/scoped_locale.h"

namespace sorvane {
namespace {

using test::Day;

struct NameCase {
    const char* filePath;
    NumberOrText includeDate;
    const char* expected;
};

TEST(BackupFilePath, JoinsFolderDateAndName) {
    const NameCase cases[] = {
        {"/var/backups", 1, "/var/backups/2026-12-06-BackupFile.csv"},
        {"/var/backups/", 0, "/var/backups/BackupFile.csv"},
        {"archive\\", 0, "archive\\BackupFile.csv"},
        {"", std::string(" 1 "), "2026-12-06-BackupFile.csv"},
        {"", std::string("1.0"), "2026-12-06-BackupFile.csv"},
        {"", std::string("2"), "BackupFile.csv"},
    };
    test::ScopedLocale locale("C.UTF-8");
    for (const auto& c : cases) {
        PurgeSettings settings;
        settings.filePath = c.filePath;
        settings.includeDate = c.includeDate;
        EXPECT_EQ(BackupFilePath(settings, Day(2026, 12, 6)), c.expected) << c.filePath;
    }
    PurgeSettings custom;
    custom.fileName = "events";
    custom.fileExtension = ".txt";
    custom.includeDate = 1;
    EXPECT_EQ(BackupFilePath(custom, Day(2027, 1, 7)), "2027-01-07-events.txt");
}

TEST(BackupFlags, TextThatIsNoNumberIsATypeMismatchNamingTheFlag) {
    test::ScopedLocale locale("C.UTF-8");
    for (const char* text : {"yes", "", "1x"}) {
        const RunFailure failure = FailureOf([&] { IsOn(std::string(text), "includedate"); });
        EXPECT_EQ(failure.Number(), kTypeMismatch) << text;
        EXPECT_NE(failure.Description().find("includedate"), std::string::npos) << failure.Description();
    }
}

}  // namespace
}  // namespace sorvane
