#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "purge/run_failure.h"
#include "startup/reporting.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

class DebugLogTest : public ::testing::Test {
protected:
    void TearDown() override { debugEnabled = 0; }
    test::ScopedLocale locale_{"C.UTF-8"};
    test::TempDir dir_;
    test::ScopedCurrentDir cwd_{dir_.Path()};
};

TEST_F(DebugLogTest, WritesNothingUnlessDebugIsExactlyMinusOne) {
    for (std::int16_t flag : {0, 1, 2, -2}) {
        debugEnabled = flag;
        WriteDebugLog("should not appear");
    }
    EXPECT_FALSE(std::filesystem::exists("debug.log"));
}

TEST_F(DebugLogTest, AppendsTimeStampedCrLfLinesInCallOrder) {
    {
        std::FILE* f = std::fopen("debug.log", "wb");
        std::fputs("earlier content\r\n", f);
        std::fclose(f);
    }
    debugEnabled = -1;
    WriteDebugLog("first");
    WriteDebugLog("");
    WriteDebugLog("two\r\nlines");

    const std::string content = test::ReadWholeFile("debug.log");
    const std::regex expected(
        "earlier content\r\n"
        R"(\d{4}-\d{2}-\d{2}( \d{2}:\d{2}:\d{2})?: first)" "\r\n"
        R"(\d{4}-\d{2}-\d{2}( \d{2}:\d{2}:\d{2})?: )" "\r\n"
        R"(\d{4}-\d{2}-\d{2}( \d{2}:\d{2}:\d{2})?: two)" "\r\nlines\r\n");
    EXPECT_TRUE(std::regex_match(content, expected)) << content;
}

TEST_F(DebugLogTest, UnwritableLogRaisesAFileAccessFailure) {
    if (::geteuid() == 0) {
        // root writes through permissions: make the name a folder instead.
        std::filesystem::create_directory("debug.log");
    } else {
        ::chmod(dir_.Path().c_str(), 0555);
    }
    debugEnabled = -1;
    try {
        WriteDebugLog("x");
        FAIL() << "no failure raised";
    } catch (const RunFailure& failure) {
        EXPECT_EQ(failure.Number(), kFileAccess);
        EXPECT_NE(failure.Description().find("debug.log"), std::string::npos) << failure.Description();
    }
}

struct Entry {
    std::int32_t type;
    std::string message;
    std::int16_t id;
    std::int16_t category;
};

class RecordingSink : public EventLogSink {
public:
    bool Write(std::int32_t type, const std::string& message, std::int16_t id, std::int16_t category) override {
        if (throwOnWrite) throw std::runtime_error("sink broken");
        entries.push_back({type, message, id, category});
        return true;
    }
    std::vector<Entry> entries;
    bool throwOnWrite = false;
};

TEST(EventLog, EntriesReachTheSinkAndFailuresNeverRaise) {
    RecordingSink sink;
    SetEventLogSink(&sink);
    EXPECT_NE(WriteEventLogEntry(1, "The following parameters are missing: -dsn", 26, 26), 0);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].type, 1);
    EXPECT_EQ(sink.entries[0].message, "The following parameters are missing: -dsn");
    EXPECT_EQ(sink.entries[0].id, 26);
    EXPECT_EQ(sink.entries[0].category, 26);

    sink.throwOnWrite = true;
    EXPECT_EQ(WriteEventLogEntry(1, "lost", 26, 26), 0);
    SetEventLogSink(nullptr);
}

}  // namespace
}  // namespace sorvane
