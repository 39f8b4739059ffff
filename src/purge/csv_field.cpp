#include "purge/csv_field.h"

namespace sorvane {

namespace {

struct FieldScan {
    bool hasQuote = false;
    bool needsEnclosing = false;
};

// One pass over the text: a backup of a million rows holds millions of fields.
FieldScan Scan(std::string_view text, const std::string& separator) {
    FieldScan scan;
    for (const char c : text) {
        switch (c) {
            case '"':
                scan.hasQuote = true;
                scan.needsEnclosing = true;
                break;
            case ',':
            case '\r':
            case '\n':
                scan.needsEnclosing = true;
                break;
            default:
                break;
        }
    }
    if (!scan.needsEnclosing && !separator.empty() &&
        text.find(separator) != std::string_view::npos) {
        scan.needsEnclosing = true;
    }
    return scan;
}

}  // namespace

void AppendCsvField(std::string& line, std::string_view text, const std::string& separator,
                    const std::string& escapeText) {
    if (escapeText.empty()) {
        line += text;
        return;
    }
    const FieldScan scan = Scan(text, separator);
    if (scan.needsEnclosing) line += escapeText;
    if (scan.hasQuote) {
        for (const char c : text) {
            if (c == '"') line += escapeText;
            line += c;
        }
    } else {
        line += text;
    }
    if (scan.needsEnclosing) line += escapeText;
}

std::string EncodeCsvField(std::string_view text, const std::string& separator,
                           const std::string& escapeText) {
    std::string field;
    AppendCsvField(field, text, separator, escapeText);
    return field;
}

}  // namespace sorvane
