#include "common/read_text_lines.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace sorvane {

std::optional<std::vector<std::string>> ReadTextLines(const std::string& fileName) {
    try {
        std::error_code error;
        if (!std::filesystem::is_regular_file(fileName, error)) return std::nullopt;

        std::ifstream file(fileName, std::ios::binary);
        if (!file) return std::nullopt;
        const std::string content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        if (file.bad()) return std::nullopt;
        // An empty file is no manual page at all, which differs from a page
        // holding one empty line.
        if (content.empty()) return std::nullopt;

        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = content.find("\r\n", start)) != std::string::npos; start = end + 2) {
            lines.push_back(content.substr(start, end - start));
        }
        lines.push_back(content.substr(start));
        return lines;
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace sorvane
