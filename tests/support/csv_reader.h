#pragma once
// Reads a CSV file with Python's csv module (read_csv.py), a reader
// independent of the backup export it checks.

#include <filesystem>
#include <string>
#include <vector>

namespace sorvane::test {

using CsvRows = std::vector<std::vector<std::string>>;

// Every row of `file` as its fields; std::runtime_error when it does not parse.
CsvRows ReadCsvWithPython(const std::filesystem::path& file, const std::string& delimiter = ",");

// Empty when the rows are equal, else where they first differ, in a few
// words (the values may be megabytes long).
std::string FirstDifference(const CsvRows& actual, const CsvRows& expected);

}  // namespace sorvane::test
