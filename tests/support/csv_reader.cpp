#include "support/csv_reader.h"

#include <sstream>
#include <stdexcept>

#include "support/run_program.h"

namespace sorvane::test {

std::vector<std::vector<std::string>> ReadCsvWithPython(const std::filesystem::path& file) {
    const std::string script = SORVANE_SOURCE_DIR "/tests/support/read_csv.py";
    const ProgramRun run = RunProgram("python3", {script, file.string()});
    if (run.exitStatus != 0) throw std::runtime_error("read_csv.py on " + file.string() + ": " + run.output);
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

}  // namespace sorvane::test
