#include "purge/connection_text.h"

namespace sorvane {

namespace {

std::string ConnectionValue(const std::string& value) {
    if (value.find_first_of(";{}") == std::string::npos) return value;
    std::string braced = "{";
    for (const char c : value) {
        braced += c;
        if (c == '}') braced += '}';
    }
    braced += '}';
    return braced;
}

}  // namespace

std::string BuildConnectionText(const std::string& dsn, const std::string& userName,
                                const std::string& password) {
    std::string text = "DSN=" + dsn;
    if (!userName.empty()) text += ";UID=" + ConnectionValue(userName);
    if (!password.empty()) text += ";PWD=" + ConnectionValue(password);
    return text;
}

}  // namespace sorvane
