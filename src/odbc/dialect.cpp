#include "odbc/dialect.h"

namespace sorvane::odbc {

namespace {

// MariaDB's client reports a socket the server has already closed as a
// general error with its own number: server gone (2006), lost (2013), read
// or write error (5013, 5014).
bool IsMariaDbNetworkError(long native) { return native == 2006 || native == 2013 || native == 5013 || native == 5014; }

}  // namespace

Dialect Dialect::ForDbmsName(const std::string& dbmsName) {
    if (dbmsName == "MariaDB" || dbmsName == "MySQL") return Dialect(System::MariaDB);
    if (dbmsName == "PostgreSQL") return Dialect(System::PostgreSQL);
    if (dbmsName == "SQLite") return Dialect(System::SQLite);
    return Dialect(System::Other);
}

std::string Dialect::SetTimeZoneSql(const std::string& zone, bool isOffset) const {
    if (system_ == System::PostgreSQL) {
        // A bare '+09:00' would be read with the POSIX sign (west positive).
        return isOffset ? "SET TIME ZONE INTERVAL '" + zone + "' HOUR TO MINUTE" : "SET TIME ZONE '" + zone + "'";
    }
    return "SET time_zone = '" + zone + "'";
}

bool Dialect::IsConnectionLost(const DriverFailure& failure) const {
    const std::string& state = failure.SqlState();
    if (state.starts_with("08")) return true;
    switch (system_) {
        case System::PostgreSQL:  // the server shutting down or crashed
            return state == "57P01" || state == "57P02" || state == "57P03";
        case System::MariaDB:
            return state == "HY000" && IsMariaDbNetworkError(failure.Number());
        default:
            return false;
    }
}

bool Dialect::IsTransactionConflict(const DriverFailure& failure) const {
    const std::string& state = failure.SqlState();
    // Serialization failure, and PostgreSQL's deadlock.
    if (state == "40001" || state == "40P01") return true;
    // MariaDB: deadlock (also a Galera certification failure at COMMIT) and
    // lock wait timeout, which its connector may report as HY000.
    return system_ == System::MariaDB && (failure.Number() == 1213 || failure.Number() == 1205);
}

}  // namespace sorvane::odbc
