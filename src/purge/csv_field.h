#pragma once
// One field of a backup line: escaped and, where a CSV reader would
// otherwise split or misread it, enclosed.

#include <string>
#include <string_view>

namespace sorvane {

// Every '"' becomes escapeText + '"'. The result is enclosed once in
// escapeText when it holds a comma, a CR or LF, a double quote, or the
// separator (when the separator is not empty). An empty escapeText leaves
// the field unchanged.
std::string EncodeCsvField(std::string_view text, const std::string& separator,
                           const std::string& escapeText);

// The same field appended to `line`, without a copy of its own when the text
// needs neither escaping nor enclosing (the common case).
void AppendCsvField(std::string& line, std::string_view text, const std::string& separator,
                    const std::string& escapeText);

}  // namespace sorvane
