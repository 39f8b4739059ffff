#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "common/reporting.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

// An unwritable debug.log is covered where start-up reports it (startup_test).
TEST(DebugLog, AppendsTimeStampedCrLfLinesOnlyOnceDebugIsOn) {
    test::ScopedLocale locale("C.UTF-8");
    test::TempDir dir;
    test::ScopedCurrentDir cwd(dir.Path());
    RunLog log;
    log.WriteDebugLog("should not appear");
    EXPECT_FALSE(std::filesystem::exists("debug.log"));
    std::ofstream("debug.log", std::ios::binary) << "earlier content\r\n";
    log.EnableDebug();
    log.WriteDebugLog("first");
    log.WriteDebugLog("");
    log.WriteDebugLog("two\r\nlines");

    const std::string content = test::ReadWholeFile("debug.log");
    const std::string stamp = R"(\d{4}-\d{2}-\d{2}( \d{2}:\d{2}:\d{2})?: )";
    const std::string expected =
        "earlier content\r\n" + stamp + "first\r\n" + stamp + "\r\n" + stamp + "two\r\nlines\r\n";
    EXPECT_TRUE(std::regex_match(content, std::regex(expected))) << content;
}

}  // namespace
}  // namespace sorvane
