#include "purge/csv_field.h"

namespace sorvane {

std::string EncodeCsvField(const std::string& text, const std::string& separator,
                           const std::string& escapeText) {
    if (escapeText.empty()) return text;
    std::string escaped;
    escaped.reserve(text.size() + 2 * escapeText.size());
    for (const char c : text) {
        if (c == '"') escaped += escapeText;
        escaped += c;
    }
    const bool enclose = escaped.find_first_of(",\r\n\"") != std::string::npos ||
                         (!separator.empty() && escaped.find(separator) != std::string::npos);
    return enclose ? escapeText + escaped + escapeText : escaped;
}

}  // namespace sorvane
