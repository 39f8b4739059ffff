#include "support/csv_reader.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "support/run_program.h"

namespace sorvane::test {

CsvRows ReadCsvWithPython(const std::filesystem::path& file, const std::string& delimiter) {
    const std::string script = SORVANE_SOURCE_DIR "/tests/support/read_csv.py";
    const ProgramRun run = RunProgram("python3", {script, file.string(), delimiter});
    if (run.exitStatus != 0) {
        const std::size_t shown = std::min<std::size_t>(run.output.size(), 2000);
        throw std::runtime_error("read_csv.py on " + file.string() + ": " + run.output.substr(run.output.size() - shown));
    }
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(run.output);
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

std::string FirstDifference(const CsvRows& actual, const CsvRows& expected) {
    if (actual.size() != expected.size()) return std::to_string(actual.size()) + " rows, not " + std::to_string(expected.size());
    for (std::size_t row = 0; row < actual.size(); ++row) {
        if (actual[row].size() != expected[row].size()) return "row " + std::to_string(row) + ": other field count";
        for (std::size_t column = 0; column < actual[row].size(); ++column) {
            const std::string &a = actual[row][column], &b = expected[row][column];
            const std::size_t at = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
            if (a != b) return "row " + std::to_string(row) + " field " + std::to_string(column) + " (" + std::to_string(a.size()) +
                               " bytes) from byte " + std::to_string(at) + ": \"" + a.substr(at, 40) + "\" not \"" + b.substr(at, 40) + "\"";
        }
    }
    return "";
}

}  // namespace sorvane::test
