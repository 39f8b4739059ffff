#pragma once
// A whole text file as its lines.

#include <optional>
#include <string>
#include <vector>

namespace sorvane {

// Reads fileName (a bare name is looked up in the current folder) and splits
// it at every CR LF pair; a lone CR or LF stays inside its line, and a final
// CR LF leaves an empty last line. No result, never a failure, when the file
// is missing, not a regular file, unreadable or empty.
std::optional<std::vector<std::string>> ReadTextLines(const std::string& fileName);

}  // namespace sorvane
