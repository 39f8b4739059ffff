#pragma once
// The ODBC environment and one connection, each owning its handle. No time
// limits: a purge of a large table may legitimately run for hours.

#include <sql.h>
#include <optional>
#include <string>

#include "odbc/dialect.h"

namespace sorvane::odbc {

// An environment declared for ODBC 3 behaviour.
class Environment {
public:
    Environment();
    ~Environment();
    Environment(Environment&& other) noexcept;
    Environment& operator=(Environment&& other) noexcept;

    SQLHENV Handle() const { return handle_; }

private:
    SQLHENV handle_ = SQL_NULL_HENV;
};

// A connection opened with a full connection text, never prompting. It owns
// its environment, so one object is all a caller has to keep.
class Connection {
public:
    explicit Connection(const std::string& connectionText);
    ~Connection();
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;

    SQLHDBC Handle() const { return handle_; }

    // What the driver calls its database system ("SQLite", "MariaDB", ...).
    std::string DbmsName() const;
    // What this connection's database system does its own way; asked of the
    // driver once, at connecting.
    const Dialect& SqlDialect() const { return *dialect_; }

    // From here on, statements wait for Commit or Rollback. A transaction
    // still open when the connection closes is rolled back.
    void BeginTransactions();
    void Commit();
    void Rollback();

private:
    void Close() noexcept;
    void EndTransaction(SQLSMALLINT completion, const char* context);

    Environment environment_;
    SQLHDBC handle_ = SQL_NULL_HDBC;
    bool connected_ = false;
    bool inTransactions_ = false;
    std::optional<Dialect> dialect_;
};

}  // namespace sorvane::odbc
