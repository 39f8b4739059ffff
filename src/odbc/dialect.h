#pragma once
// What differs between the database systems the program works with, decided
// once per connection from the name its driver gives the database system
// (SQL_DBMS_NAME), so that no other code compares that name.

#include <string>

#include "odbc/diagnostics.h"

namespace sorvane::odbc {

class Dialect {
public:
    enum class System { MariaDB, PostgreSQL, SQLite, Other };

    // "MariaDB" and "MySQL" (one wire protocol, one connector), "PostgreSQL",
    // "SQLite"; any other name is a system we know nothing particular of.
    static Dialect ForDbmsName(const std::string& dbmsName);

    System Of() const { return system_; }

    // Whether a DELETE may carry ORDER BY (and a LIMIT-free one gains by it:
    // on InnoDB an ascending range scan ends by stepping over the rows the
    // batch above has just deleted).
    bool OrdersDelete() const { return system_ == System::MariaDB; }

    // Whether the session has a time zone of its own that a statement sets.
    bool HasSessionTimeZone() const { return system_ == System::MariaDB || system_ == System::PostgreSQL; }
    // The statement that sets it, to a zone name or to an offset "+01:00".
    std::string SetTimeZoneSql(const std::string& zone, bool isOffset) const;

    // Whether one connection may read while another deletes without the two
    // holding each other up. Not on SQLite: a reader holds off the writer's
    // commit, and the waits cost more than running both at once saves.
    bool ReadsOverlapWriter() const { return system_ != System::SQLite; }

    // True when the failure says the connection to the server is gone, so a
    // new connection may succeed where this one failed.
    bool IsConnectionLost(const DriverFailure& failure) const;

    // True when the failure is a transaction conflict (deadlock, lock wait
    // timeout, serialization failure): the transaction was or must be rolled
    // back, and doing it again may succeed.
    bool IsTransactionConflict(const DriverFailure& failure) const;

private:
    explicit Dialect(System system) : system_(system) {}

    System system_;
};

}  // namespace sorvane::odbc
