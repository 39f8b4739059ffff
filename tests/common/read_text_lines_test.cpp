#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "common/manual_page.h"
#include "common/read_text_lines.h"
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
}

}  // namespace
}  // namespace sorvane
