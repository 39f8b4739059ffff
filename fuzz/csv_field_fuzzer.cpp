// Two promises about text that comes from outside and is written on:
//  - a backup file, read back by an ordinary CSV reader, gives every field
//    exactly as the table held it (escaping and enclosing lose nothing and
//    never split or join fields or lines);
//  - a user name or password, whatever it holds, reaches the driver as that
//    value only and cannot add attributes to the connection text.
// The readers below are written from the formats' grammars, independently of
// the code that writes them.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "purge/connection_text.h"
#include "purge/csv_field.h"

namespace {

using Record = std::vector<std::string>;

[[noreturn]] void Fail(const char* property) {
    std::fprintf(stderr, "csv_field_fuzzer: property broken: %s\n", property);
    std::abort();
}

void Require(bool holds, const char* property) {
    if (!holds) Fail(property);
}

// RFC 4180 with the separator as a parameter: records end with CR LF, a field
// in double quotes may hold anything, with "" for one quote. No result for
// text that is not CSV (a stray quote, text after a closing quote, an
// unclosed quote, a last record without its CR LF).
std::optional<std::vector<Record>> ReadCsv(const std::string& text, char separator) {
    std::vector<Record> records;
    Record record;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::string field;
        if (text[pos] == '"') {
            ++pos;
            for (;;) {
                if (pos >= text.size()) return std::nullopt;
                if (text[pos] == '"') {
                    if (pos + 1 < text.size() && text[pos + 1] == '"') {
                        field += '"';
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                field += text[pos++];
            }
        } else {
            while (pos < text.size() && text[pos] != separator && text[pos] != '\r' && text[pos] != '\n') {
                if (text[pos] == '"') return std::nullopt;
                field += text[pos++];
            }
        }
        record.push_back(std::move(field));
        if (pos < text.size() && text[pos] == separator) {
            ++pos;
            if (pos == text.size()) return std::nullopt;
            continue;
        }
        if (text.compare(pos, 2, "\r\n") != 0) return std::nullopt;
        pos += 2;
        records.push_back(std::move(record));
        record.clear();
    }
    return records;
}

void CheckCsvRoundTrip(FuzzedDataProvider& input) {
    // The default separator first of all; the others a user may choose as
    // well, each a single character so that the reader above can take it.
    static constexpr char kSeparators[] = {',', ';', '\t', '|'};
    const char separator = input.PickValueInArray(kSeparators);
    const std::string separatorText(1, separator);

    std::vector<Record> table(input.ConsumeIntegralInRange<std::size_t>(1, 4));
    for (Record& row : table) {
        row.resize(input.ConsumeIntegralInRange<std::size_t>(1, 5));
        for (std::string& field : row) field = input.ConsumeRandomLengthString(64);
    }

    // Laid out as the export writes its lines.
    std::string file;
    for (const Record& row : table) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            file += sorvane::EncodeCsvField(row[i], separatorText, "\"");
            if (i + 1 < row.size()) file += separatorText;
        }
        file += "\r\n";
    }

    const std::optional<std::vector<Record>> readBack = ReadCsv(file, separator);
    Require(readBack.has_value(), "a backup file is valid CSV");
    Require(*readBack == table, "a CSV reader gets every field back unchanged");
}

using Attributes = std::vector<std::pair<std::string, std::string>>;

// The connection-string grammar: attributes key=value joined by ';'; a value
// that begins with '{' runs to the matching '}', with '}}' standing for one
// '}' inside it. The driver manager takes the text up to its first NUL.
std::optional<Attributes> ReadConnectionText(const std::string& fullText) {
    const std::string text = fullText.substr(0, fullText.find('\0'));
    Attributes attributes;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t equals = text.find('=', pos);
        if (equals == std::string::npos) return std::nullopt;
        std::string key = text.substr(pos, equals - pos);
        if (key.empty() || key.find_first_of(";{}") != std::string::npos) return std::nullopt;
        pos = equals + 1;
        std::string value;
        if (pos < text.size() && text[pos] == '{') {
            ++pos;
            for (;;) {
                if (pos >= text.size()) return std::nullopt;
                if (text[pos] == '}') {
                    if (pos + 1 < text.size() && text[pos + 1] == '}') {
                        value += '}';
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                value += text[pos++];
            }
            if (pos < text.size() && text[pos] != ';') return std::nullopt;
        } else {
            const std::size_t end = std::min(text.find(';', pos), text.size());
            value = text.substr(pos, end - pos);
            if (value.find_first_of("{}") != std::string::npos) return std::nullopt;
            pos = end;
        }
        attributes.emplace_back(std::move(key), std::move(value));
        if (pos < text.size()) {
            ++pos;  // the ';'
            if (pos == text.size()) return std::nullopt;
        }
    }
    return attributes;
}

std::string WithoutCharacters(const std::string& text, std::string_view unwanted) {
    std::string kept;
    for (const char c : text) {
        if (unwanted.find(c) == std::string_view::npos) kept += c;
    }
    return kept;
}

void CheckConnectionText(FuzzedDataProvider& input) {
    // The data source name is the user's own choice of target and goes in as
    // typed; it only has to leave the credentials' attributes alone here.
    constexpr std::string_view kNul("\0", 1);
    constexpr std::string_view kAttributeSyntaxAndNul(";{}\0", 4);
    const std::string dsn = WithoutCharacters(input.ConsumeRandomLengthString(32), kAttributeSyntaxAndNul);
    // The command line and the window's text fields cannot carry a NUL, and a
    // NUL-terminated connection text could not either.
    const std::string userName = WithoutCharacters(input.ConsumeRandomLengthString(64), kNul);
    const std::string password = WithoutCharacters(input.ConsumeRemainingBytesAsString(), kNul);

    const std::optional<Attributes> attributes =
        ReadConnectionText(sorvane::BuildConnectionText(dsn, userName, password));
    Require(attributes.has_value(), "the connection text follows the grammar");

    Attributes expected{{"DSN", dsn}};
    if (!userName.empty()) expected.emplace_back("UID", userName);
    if (!password.empty()) expected.emplace_back("PWD", password);
    Require(*attributes == expected, "exactly DSN, UID and PWD come back, each with its own value");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool()) {
        CheckCsvRoundTrip(input);
    } else {
        CheckConnectionText(input);
    }
    return 0;
}
