#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "purge/run_failure.h"
#include "startup/manual_page.h"
#include "startup/read_text_lines.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

using Lines = std::vector<std::string>;

void WriteFile(const std::filesystem::path& file, const std::string& content) {
    std::ofstream(file, std::ios::binary) << content;
}

struct LinesCase {
    const char* name;
    std::string content;
    Lines expected;
};

void PrintTo(const LinesCase& c, std::ostream* os) { *os << c.name; }

class ReadTextLinesTest : public ::testing::TestWithParam<LinesCase> {
protected:
    test::TempDir dir_;
};

TEST_P(ReadTextLinesTest, SplitsAtCrLfOnly) {
    const LinesCase& c = GetParam();
    const std::filesystem::path file = dir_.Path() / "page.txt";
    WriteFile(file, c.content);
    const std::optional<Lines> lines = ReadTextLines(file.string());
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, ReadTextLinesTest,
    ::testing::Values(LinesCase{"FinalCrLfLeavesEmptyLastLine", "a\r\nb\r\n", {"a", "b", ""}},
                      LinesCase{"NoFinalCrLf", "only line", {"only line"}},
                      LinesCase{"BareLfDoesNotSplit", "a\nb\n", {"a\nb\n"}},
                      LinesCase{"LoneCrDoesNotSplit", "a\rb\r\nc", {"a\rb", "c"}},
                      LinesCase{"CrCrLf", "a\r\r\n", {"a\r", ""}},
                      LinesCase{"EmptyLinesKept", "\r\n\r\nx", {"", "", "x"}},
                      LinesCase{"BytesPassUnchanged", std::string("caf\xc3\xa9\r\n\0z", 9), {"caf\xc3\xa9", std::string("\0z", 2)}}),
    [](const ::testing::TestParamInfo<LinesCase>& info) { return std::string(info.param.name); });

TEST(ReadTextLinesNoResult, MissingEmptyFolderAndUnreadableGiveNoResult) {
    test::TempDir dir;
    WriteFile(dir.Path() / "empty.txt", "");
    std::filesystem::create_directory(dir.Path() / "folder.txt");
    EXPECT_FALSE(ReadTextLines((dir.Path() / "missing.txt").string()).has_value());
    EXPECT_FALSE(ReadTextLines((dir.Path() / "empty.txt").string()).has_value());
    EXPECT_FALSE(ReadTextLines((dir.Path() / "folder.txt").string()).has_value());
    EXPECT_FALSE(ReadTextLines("").has_value());
}

TEST(ReadTextLinesNoResult, BareNameIsLookedUpInTheCurrentFolder) {
    test::TempDir dir;
    WriteFile(dir.Path() / "here.txt", "x\r\ny");
    EXPECT_FALSE(ReadTextLines("here.txt").has_value());
    test::ScopedCurrentDir cwd(dir.Path());
    EXPECT_EQ(ReadTextLines("here.txt"), (Lines{"x", "y"}));
}

TEST(ManualPageLookup, FirstExistingCandidateWinsEvenWhenEmpty) {
    test::TempDir dir;
    const std::string missing = (dir.Path() / "missing.txt").string();
    const std::string empty = (dir.Path() / "empty.txt").string();
    const std::string first = (dir.Path() / "first.txt").string();
    const std::string second = (dir.Path() / "second.txt").string();
    WriteFile(empty, "");
    WriteFile(first, "one");
    WriteFile(second, "two");

    EXPECT_EQ(LoadManualPageFrom({missing, first, second}), Lines{"one"});
    EXPECT_FALSE(LoadManualPageFrom({missing, empty, second}).has_value());
    EXPECT_FALSE(LoadManualPageFrom({missing}).has_value());
    EXPECT_FALSE(LoadManualPageFrom({}).has_value());
}

class RecordingSink : public ManualPageSink {
public:
    void AppendLine(const std::string& line) override { appended.push_back(line); }
    void Show() override { shownAfter.push_back(appended.size()); }
    Lines appended;
    std::vector<std::size_t> shownAfter;  // lines appended when each Show came
};

TEST(ShowManualPage, AppendsEveryLineThenShows) {
    RecordingSink sink;
    ShowManualPageIn(sink, [] { return Lines{"NAME", "", "  sorvane"}; });
    EXPECT_EQ(sink.appended, (Lines{"NAME", "", "  sorvane"}));
    EXPECT_EQ(sink.shownAfter, std::vector<std::size_t>{3});
}

TEST(ShowManualPage, NoLinesFailBeforeAnythingIsAppended) {
    for (const ManualPageLoader& loader :
         {ManualPageLoader([] { return std::optional<Lines>(); }), ManualPageLoader()}) {
        RecordingSink sink;
        try {
            ShowManualPageIn(sink, loader);
            ADD_FAILURE() << "no failure raised";
        } catch (const RunFailure& failure) {
            EXPECT_EQ(failure.Number(), kFileNotFound);
            EXPECT_NE(failure.Description().find("sorvane-manpage.txt"), std::string::npos);
        }
        EXPECT_TRUE(sink.appended.empty());
        EXPECT_TRUE(sink.shownAfter.empty());
    }
}

// The line counter is 16 bits wide: 32767 lines still fit, from 32768 lines on
// it overflows after the line with index 32767: what fits is shown, then the
// failure is raised.
TEST(ShowManualPage, SixteenBitLineCounterOverflows) {
    struct Case {
        std::size_t lineCount;
        bool overflows;
    };
    for (const Case& c : {Case{32767, false}, Case{32768, true}, Case{40000, true}}) {
        RecordingSink sink;
        const Lines page(c.lineCount, "x");
        if (c.overflows) {
            try {
                ShowManualPageIn(sink, [&] { return page; });
                ADD_FAILURE() << c.lineCount << " lines raised nothing";
            } catch (const RunFailure& failure) {
                EXPECT_EQ(failure.Number(), kOverflow);
            }
            EXPECT_EQ(sink.appended.size(), 32768u);
            ASSERT_EQ(sink.shownAfter.size(), 1u);
            EXPECT_EQ(sink.shownAfter[0], 32768u);
        } else {
            ShowManualPageIn(sink, [&] { return page; });
            EXPECT_EQ(sink.appended.size(), c.lineCount);
            EXPECT_EQ(sink.shownAfter.size(), 1u);
        }
    }
}

// The shipped page is split at CR LF only: a copy saved with LF ends would
// come out as one endless line.
TEST(ShippedManualPage, IsCrLfAsciiWithinEightyColumnsAndNamesEveryOption) {
    const std::optional<Lines> lines = ReadTextLines(SORVANE_SOURCE_DIR "/data/sorvane-manpage.txt");
    ASSERT_TRUE(lines.has_value());
    EXPECT_GT(lines->size(), 100u);
    std::string whole;
    for (const std::string& line : *lines) {
        EXPECT_LE(line.size(), 80u) << line;
        for (const char c : line) EXPECT_TRUE(c >= ' ' && c <= '~') << "control or non-ASCII byte in: " << line;
        whole += line + "\n";
    }
    for (const char* option : {"-ndays", "-h", "-help", "-dsn", "-table", "-user", "-pass", "-sep", "-esc",
                               "-filename", "-fileex", "-backup", "-delete", "-filepath", "-includedate",
                               "-overwrite", "-delrecpertrip", "-timecol", "-debug", "EXIT STATUS"}) {
        EXPECT_NE(whole.find(std::string(option)), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace sorvane
