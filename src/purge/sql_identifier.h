#pragma once
// Table and column names go into the SQL text as typed, so they are checked
// first: only a name that the database can read as an identifier gets in.

#include <string>

namespace sorvane {

// True for one to three dot-separated parts, each plain (ASCII letters,
// digits, '_' and '$', not starting with a digit) or quoted as "...", [...]
// or `...` with no closing quote inside and at least one character.
bool IsSqlIdentifier(const std::string& name);

// Raise RunFailure kInvalidArgument, naming the refused text.
void CheckTableName(const std::string& tableName);
void CheckTimeColumnName(const std::string& columnName);

}  // namespace sorvane
