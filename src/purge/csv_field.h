#pragma once
// One field of a backup line: escaped and, where a CSV reader would
// otherwise split or misread it, enclosed.

#include <string>

namespace sorvane {

// Every '"' becomes escapeText + '"'. The result is enclosed once in
// escapeText when it holds a comma, a CR or LF, a double quote, or the
// separator (when the separator is not empty). An empty escapeText leaves
// the field unchanged.
std::string EncodeCsvField(const std::string& text, const std::string& separator,
                           const std::string& escapeText);

}  // namespace sorvane
