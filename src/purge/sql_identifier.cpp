#include "purge/sql_identifier.h"

#include "common/run_failure.h"

namespace sorvane {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char ClosingQuote(char opening) {
    switch (opening) {
        case '"': return '"';
        case '[': return ']';
        case '`': return '`';
        default: return '\0';
    }
}

// Reads one part starting at `pos`; on success leaves `pos` just after it.
bool ReadPart(const std::string& name, std::size_t& pos) {
    if (pos >= name.size()) return false;
    const char closing = ClosingQuote(name[pos]);
    if (closing != '\0') {
        const std::size_t end = name.find(closing, pos + 1);
        if (end == std::string::npos || end == pos + 1) return false;
        // A NUL would cut the statement short in the driver.
        if (name.find('\0', pos + 1) < end) return false;
        pos = end + 1;
        return true;
    }
    if (IsDigit(name[pos])) return false;
    const std::size_t start = pos;
    while (pos < name.size() &&
           (IsAsciiLetter(name[pos]) || IsDigit(name[pos]) || name[pos] == '_' || name[pos] == '$')) {
        ++pos;
    }
    return pos > start;
}

void Refuse(const char* what, const std::string& name) {
    throw RunFailure(kInvalidArgument,
                     std::string("The ") + what + " \"" + name +
                         "\" is not a valid SQL name: use letters, digits, _ and $ (not starting "
                         "with a digit), up to three parts joined by dots, or quote a part with "
                         "\"...\", [...] or `...`");
}

}  // namespace

bool IsSqlIdentifier(const std::string& name) {
    std::size_t pos = 0;
    for (int part = 1; part <= 3; ++part) {
        if (!ReadPart(name, pos)) return false;
        if (pos == name.size()) return true;
        if (name[pos] != '.') return false;
        ++pos;
    }
    return false;
}

void CheckTableName(const std::string& tableName) {
    if (!IsSqlIdentifier(tableName)) Refuse("table name", tableName);
}

void CheckTimeColumnName(const std::string& columnName) {
    if (!IsSqlIdentifier(columnName)) Refuse("time column", columnName);
}

}  // namespace sorvane
