#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "purge/run_failure.h"
#include "startup/manual_page.h"
#include "startup/read_text_lines.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

using Lines = std::vector<std::string>;

TEST(ReadTextLines, SplitsAtCrLfOnlyAndGivesNoResultForNoText) {
    test::TempDir dir;
    const std::string file = (dir.Path() / "page.txt").string(), missing = (dir.Path() / "no.txt").string();
    const std::pair<std::string, Lines> cases[] = {
        {"\r\na\r\nb\r\n", {"", "a", "b", ""}}, {"only line", {"only line"}}, {"a\nb\n", {"a\nb\n"}},
        {"a\rb\r\nc", {"a\rb", "c"}},         {"a\r\r\n", {"a\r", ""}},
        {std::string("caf\xc3\xa9\r\n\0z", 9), {"caf\xc3\xa9", std::string("\0z", 2)}},
    };
    for (const auto& [content, lines] : cases) {
        std::ofstream(file, std::ios::binary) << content;
        EXPECT_EQ(ReadTextLines(file), lines);
    }
    EXPECT_EQ(LoadManualPageFrom({missing, file, SORVANE_SOURCE_DIR "/CMakeLists.txt"}), ReadTextLines(file));
    std::ofstream(file, std::ios::binary).close();
    std::filesystem::create_directory(dir.Path() / "folder.txt");
    for (const std::string& none : {file, (dir.Path() / "folder.txt").string(), missing, std::string()}) {
        EXPECT_EQ(ReadTextLines(none), std::nullopt) << none;
        // The first file that exists wins, even when it gives no lines.
        EXPECT_EQ(LoadManualPageFrom({none, file, SORVANE_SOURCE_DIR "/CMakeLists.txt"}), std::nullopt) << none;
    }
    EXPECT_EQ(LoadManualPageFrom({}), std::nullopt);
}

class RecordingSink : public ManualPageSink {
public:
    void AppendLine(const std::string&) override { ++appended; }
    void Show() override { shownAfter.push_back(appended); }
    std::size_t appended = 0;
    std::vector<std::size_t> shownAfter;  // lines appended when each Show came
};

// The line counter is 16 bits wide: from 32768 lines on it overflows after
// line index 32767, and what fits is shown first.
TEST(ShowManualPage, ShowsEveryLineThatFitsTheSixteenBitCounter) {
    for (const std::size_t lineCount : {std::size_t{32767}, std::size_t{32768}}) {
        RecordingSink sink;
        const Lines page(lineCount, "x");
        try {
            ShowManualPageIn(sink, [&] { return page; });
            EXPECT_EQ(lineCount, 32767u) << "no overflow raised";
        } catch (const RunFailure& failure) {
            EXPECT_EQ(failure.Number(), kOverflow);
        }
        EXPECT_EQ(sink.shownAfter, std::vector<std::size_t>{std::min<std::size_t>(lineCount, 32768)});
    }
    for (const ManualPageLoader& loader : {ManualPageLoader([] { return std::optional<Lines>(); }), ManualPageLoader()}) {
        RecordingSink sink;
        EXPECT_THROW(ShowManualPageIn(sink, loader), RunFailure);
        EXPECT_EQ(sink.appended, 0u);
        EXPECT_TRUE(sink.shownAfter.empty());
    }
}

// -h splits the page at CR LF only: a copy saved with LF ends would come out
// as one endless line.
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
    for (const char* option : {"-ndays", "-h", "-help", "-dsn", "-table", "-user", "-pass", "-sep", "-esc", "-filename",
                               "-fileex", "-backup", "-delete", "-filepath", "-includedate", "-overwrite",
                               "-delrecpertrip", "-timecol", "-debug", "EXIT STATUS"}) {
        EXPECT_NE(whole.find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace sorvane
