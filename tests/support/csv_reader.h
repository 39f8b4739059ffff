#pragma once
// Reads a CSV file through tests/support/read_csv.py (Python's csv module),
// an independent reader for what the backup export writes.

#include <filesystem>
#include <string>
#include <vector>

namespace sorvane::test {

// Every row of `file` as its fields. Raises std::runtime_error when the
// reader fails or the file does not parse as CSV.
std::vector<std::vector<std::string>> ReadCsvWithPython(const std::filesystem::path& file,
                                                        char delimiter = ',');

}  // namespace sorvane::test
