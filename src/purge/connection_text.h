#pragma once
// The connection text handed to the ODBC driver manager.

#include <string>

namespace sorvane {

// "DSN=" + dsn, then ";UID=" and ";PWD=" only for a user name or password
// that is not empty: an empty value would override the credentials stored
// with the data source. A value holding ';', '{' or '}' goes in braces with
// each '}' doubled. The data source name is used as typed.
std::string BuildConnectionText(const std::string& dsn, const std::string& userName,
                                const std::string& password);

}  // namespace sorvane
