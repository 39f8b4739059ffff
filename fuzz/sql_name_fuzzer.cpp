// A table name goes into the SQL text as typed, so the name check is all that
// stands between a typed name and the statement the database runs. Whatever
// the check lets through must read, in the finished DELETE, as one table name
// of one to three parts and nothing else: no second statement, no comment, no
// string, no condition of its own. Refused names must be refused with the
// program's own failure.
//
// The lexer below follows the SQL standard and SQLite ("...", [...] and `...`
// as quoted names, '...' strings, -- and /* */ comments), written from the
// grammar, not from the check.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "common/run_failure.h"
#include "purge/sql_identifier.h"

namespace {

[[noreturn]] void Fail(const char* property, const std::string& name) {
    std::fprintf(stderr, "sql_name_fuzzer: property broken: %s (name of %zu bytes)\n", property,
                 name.size());
    std::abort();
}

enum class Kind { kWord, kQuotedName, kString, kComment, kSymbol };

struct Token {
    Kind kind;
    std::string text;
};

// MariaDB reads a leading '$' as part of a name. SQLite and PostgreSQL read
// "$name" and "$1" as parameters, where a table must stand, so that the
// statement fails to parse and nothing runs.
bool IsWordStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$' || c >= 0x80;
}
bool IsWordPart(unsigned char c) { return IsWordStart(c) || (c >= '0' && c <= '9'); }

// Reads a quoted stretch that ends at `closing`; a doubled closing character
// stands for itself. No result when the text ends first.
std::optional<std::size_t> QuotedEnd(const std::string& sql, std::size_t open, char closing, bool doubling) {
    for (std::size_t pos = open + 1; pos < sql.size(); ++pos) {
        if (sql[pos] != closing) continue;
        if (doubling && pos + 1 < sql.size() && sql[pos + 1] == closing) {
            ++pos;
            continue;
        }
        return pos + 1;
    }
    return std::nullopt;
}

std::optional<std::vector<Token>> Lex(const std::string& sql) {
    std::vector<Token> tokens;
    std::size_t pos = 0;
    while (pos < sql.size()) {
        const unsigned char c = static_cast<unsigned char>(sql[pos]);
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
            ++pos;
            continue;
        }
        std::size_t end = pos + 1;
        Kind kind = Kind::kSymbol;
        if (sql.compare(pos, 2, "--") == 0) {
            kind = Kind::kComment;
            end = std::min(sql.find('\n', pos), sql.size());
        } else if (sql.compare(pos, 2, "/*") == 0) {
            kind = Kind::kComment;
            const std::size_t close = sql.find("*/", pos + 2);
            end = close == std::string::npos ? sql.size() : close + 2;
        } else if (c == '\'' || c == '"' || c == '`' || c == '[') {
            kind = c == '\'' ? Kind::kString : Kind::kQuotedName;
            const std::optional<std::size_t> quotedEnd =
                QuotedEnd(sql, pos, c == '[' ? ']' : static_cast<char>(c), c != '[');
            if (!quotedEnd) return std::nullopt;
            end = *quotedEnd;
        } else if (IsWordPart(c)) {  // a name, a key word or a number
            kind = Kind::kWord;
            while (end < sql.size() && IsWordPart(static_cast<unsigned char>(sql[end]))) ++end;
        } else if (sql.compare(pos, 2, "<=") == 0) {
            end = pos + 2;
        }
        tokens.push_back({kind, sql.substr(pos, end - pos)});
        pos = end;
    }
    return tokens;
}

bool IsName(const Token& token) { return token.kind == Kind::kWord || token.kind == Kind::kQuotedName; }

bool Is(const Token& token, const char* text) { return token.kind != Kind::kQuotedName && token.text == text; }

// DELETE FROM name[.name[.name]] WHERE id<=? and id>?;
bool IsOneDeleteOfOneTable(const std::vector<Token>& tokens) {
    if (tokens.size() < 3 || !Is(tokens[0], "DELETE") || !Is(tokens[1], "FROM")) return false;
    std::size_t pos = 2;
    for (int part = 1;; ++part, ++pos) {
        if (pos >= tokens.size() || !IsName(tokens[pos])) return false;
        if (++pos >= tokens.size() || !Is(tokens[pos], ".") || part == 3) break;
    }
    const char* const tail[] = {"WHERE", "id", "<=", "?", "and", "id", ">", "?", ";"};
    if (tokens.size() - pos != std::size(tail)) return false;
    for (const char* text : tail) {
        if (!Is(tokens[pos++], text)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    try {
        sorvane::CheckTableName(name);
    } catch (const sorvane::RunFailure& failure) {
        if (failure.Number() != sorvane::kInvalidArgument) {
            Fail("a refused name is an invalid argument", name);
        }
        return 0;
    }
    // Every statement of a run has the name between FROM and WHERE; the
    // closing ';' shows that nothing of the name ran on past the end.
    const std::string sql = "DELETE FROM " + name + " WHERE id<=? and id>?;";
    if (sql.find('\0') != std::string::npos) Fail("an accepted name holds no NUL", name);
    const std::optional<std::vector<Token>> tokens = Lex(sql);
    if (!tokens) Fail("an accepted name leaves no quote open", name);
    if (!IsOneDeleteOfOneTable(*tokens)) {
        Fail("an accepted name reads as one table name and nothing else", name);
    }
    return 0;
}
