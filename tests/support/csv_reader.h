#pragma once
// Reads a CSV file with Python's csv module (read_csv.py), a reader
// independent of the backup export it checks.

#include <filesystem>
#include <string>
#include <vector>

namespace sorvane::test {

// Every row of `file` as its fields; std::runtime_error when it does not parse.
std::vector<std::vector<std::string>> ReadCsvWithPython(const std::filesystem::path& file);

}  // namespace sorvane::test
