#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>

#include "common/reporting.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

// An unwritable debug.log is covered where start-up reports it (startup_test).
class DebugLogTest : public ::testing::Test {
protected:
    void TearDown() override { debugEnabled = 0; }
    test::ScopedLocale locale_{"C.UTF-8"};
    test::TempDir dir_;
    test::ScopedCurrentDir cwd_{dir_.Path()};
};

TEST_F(DebugLogTest, AppendsTimeStampedCrLfLinesOnlyWhenDebugIsExactlyMinusOne) {
    for (std::int16_t flag : {0, 1, 2, -2}) {
        debugEnabled = flag;
        WriteDebugLog("should not appear");
    }
    EXPECT_FALSE(std::filesystem::exists("debug.log"));
    std::ofstream("debug.log", std::ios::binary) << "earlier content\r\n";
    debugEnabled = -1;
    WriteDebugLog("first");
    WriteDebugLog("");
    WriteDebugLog("two\r\nlines");

    const std::string content = test::ReadWholeFile("debug.log");
    const std::string stamp = R"(\d{4}-\d{2}-\d{2}( \d{2}:\d{2}:\d{2})?: )";
    const std::string expected =
        "earlier content\r\n" + stamp + "first\r\n" + stamp + "\r\n" + stamp + "two\r\nlines\r\n";
    EXPECT_TRUE(std::regex_match(content, std::regex(expected))) << content;
}

TEST(EventLog, ReportsWhetherTheEntryWasWrittenAndNeverRaises) {
    struct Sink : EventLogSink {
        bool Write(std::int32_t, const std::string&, std::int16_t, std::int16_t) override {
            return broken ? throw std::runtime_error("sink broken") : true;
        }
        bool broken = false;
    } sink;
    SetEventLogSink(&sink);
    EXPECT_NE(WriteEventLogEntry(1, "written", 26, 26), 0);
    sink.broken = true;
    EXPECT_EQ(WriteEventLogEntry(1, "lost", 26, 26), 0);
    SetEventLogSink(nullptr);
}

}  // namespace
}  // namespace sorvane
