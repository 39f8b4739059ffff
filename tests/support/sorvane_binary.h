#pragma once
// The built program run as a scheduler runs it, with a fixed UTF-8 locale and
// no display (offscreen Qt counts as one), and what its command lines share.

#include <filesystem>
#include <string>
#include <vector>

#include "support/odbc_test_env.h"
#include "support/run_program.h"

namespace sorvane::test {

// On a terminal: through a pseudo-terminal, which turns "\n" into "\r\n".
ProgramRun RunSorvane(const std::filesystem::path& currentDir, const std::vector<std::string>& arguments,
                      bool onTerminal = false);

// "YYYY-MM-DD" of the local day so many days from today.
std::string LocalDate(int daysFromToday);

// Adds -user= and -pass= for the source, each only when set.
void AppendCredentials(std::vector<std::string>& arguments, const TestDataSource& source);

}  // namespace sorvane::test
