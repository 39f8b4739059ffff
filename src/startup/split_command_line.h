#pragma once
// The command line as one text and its splitting into numbered arguments.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sorvane {

// The argument count when the caller names no maximum.
constexpr std::int16_t kDefaultMaximumArguments = 22;

// Splits rawText into slot 0 plus N arguments (slots 1..N, N <= maximum).
// Blanks and tabs separate arguments; a double quote toggles a quoted stretch
// and is dropped; a quoted blank or tab joins the most recent argument (slot 0
// when none has begun) as one blank. Scanning stops when a further argument
// would begin past the maximum. A negative maximum is taken as 0.
std::vector<std::string> SplitCommandLine(const std::string& rawText,
                                          std::optional<std::int16_t> maximum = std::nullopt);

// Linux hands the arguments over already split; this joins argv[1..] with one
// blank, wrapping each argument that holds a blank or a tab in double quotes,
// so that SplitCommandLine sees the text a user typed.
std::string BuildRawCommandLine(int argc, const char* const* argv);

}  // namespace sorvane
