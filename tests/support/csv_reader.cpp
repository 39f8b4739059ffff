#include "support/csv_reader.h"

#include <cstdio>
#include <stdexcept>

namespace sorvane::test {

namespace {

void AppendUtf8(std::string& out, unsigned codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

[[noreturn]] void Malformed(const std::string& line) {
    throw std::runtime_error("read_csv.py printed an unexpected line: " + line);
}

unsigned Hex4(const std::string& line, std::size_t& pos) {
    if (pos + 4 > line.size()) Malformed(line);
    const unsigned value = static_cast<unsigned>(std::stoul(line.substr(pos, 4), nullptr, 16));
    pos += 4;
    return value;
}

// One JSON array of strings as json.dumps(ensure_ascii=True) writes it.
std::vector<std::string> ParseJsonStringArray(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    if (line.empty() || line[pos++] != '[') Malformed(line);
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos < line.size() && line[pos] == ']') return fields;
    for (;;) {
        if (pos >= line.size() || line[pos++] != '"') Malformed(line);
        std::string field;
        for (;;) {
            if (pos >= line.size()) Malformed(line);
            const char c = line[pos++];
            if (c == '"') break;
            if (c != '\\') {
                field += c;
                continue;
            }
            if (pos >= line.size()) Malformed(line);
            const char escaped = line[pos++];
            switch (escaped) {
                case 'n': field += '\n'; break;
                case 'r': field += '\r'; break;
                case 't': field += '\t'; break;
                case 'b': field += '\b'; break;
                case 'f': field += '\f'; break;
                case 'u': {
                    unsigned codePoint = Hex4(line, pos);
                    if (codePoint >= 0xD800 && codePoint < 0xDC00) {
                        if (line.compare(pos, 2, "\\u") != 0) Malformed(line);
                        pos += 2;
                        const unsigned low = Hex4(line, pos);
                        codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
                    }
                    AppendUtf8(field, codePoint);
                    break;
                }
                default: field += escaped; break;
            }
        }
        fields.push_back(field);
        if (line.compare(pos, 2, ", ") == 0) {
            pos += 2;
            continue;
        }
        if (pos < line.size() && line[pos] == ']') return fields;
        Malformed(line);
    }
}

}  // namespace

std::vector<std::vector<std::string>> ReadCsvWithPython(const std::filesystem::path& file,
                                                        char delimiter) {
    const std::string script = std::string(SORVANE_SOURCE_DIR) + "/tests/support/read_csv.py";
    const std::string command = "python3 '" + script + "' '" + file.string() + "' '" +
                                std::string(1, delimiter) + "'";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) throw std::runtime_error("cannot start python3");
    std::string output;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    if (::pclose(pipe) != 0) throw std::runtime_error("read_csv.py failed on " + file.string());

    std::vector<std::vector<std::string>> rows;
    std::size_t start = 0;
    while (start < output.size()) {
        const std::size_t end = output.find('\n', start);
        const std::string line = output.substr(start, end - start);
        rows.push_back(ParseJsonStringArray(line));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return rows;
}

}  // namespace sorvane::test
