#include "support/csv_reader.h"

#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace sorvane::test {

std::vector<std::vector<std::string>> ReadCsvWithPython(const std::filesystem::path& file) {
    const std::string command =
        "python3 '" SORVANE_SOURCE_DIR "/tests/support/read_csv.py' '" + file.string() + "'";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) throw std::runtime_error("cannot start python3");
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    if (::pclose(pipe) != 0) throw std::runtime_error("read_csv.py failed on " + file.string());

    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream hexFields(line);
        std::vector<std::string> fields;
        for (std::string hex; hexFields >> hex;) {
            std::string field;
            for (std::size_t i = 1; i + 1 < hex.size(); i += 2) {
                field += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
            }
            fields.push_back(field);
        }
        rows.push_back(fields);
    }
    return rows;
}

}  // namespace sorvane::test
