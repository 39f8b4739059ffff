#pragma once
// A connection that is opened and closed again and again with the same
// connection text (the export's, once per batch) without logging in each
// time: closing keeps the physical connection in its pool for the next
// opening. A run owns its pool; the kept connection closes with it.
//
// The driver manager's own pooling would do the same, but unixODBC 2.3
// loses two character-set converters per reuse, so a run of 100,000 batches
// would grow by gigabytes.

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "odbc/connection.h"

namespace sorvane::odbc {

class ConnectionPool {
public:
    // `prepareNew` (when set) prepares every new connection before its first
    // use; a kept one is prepared already.
    explicit ConnectionPool(std::string connectionText,
                            std::function<void(const Connection&)> prepareNew = {});

private:
    friend class PooledConnection;

    // The idle connection when it has been idle for no longer than a minute;
    // else nothing (an older one is closed).
    std::unique_ptr<Connection> TakeIdle();
    void Keep(std::unique_ptr<Connection> connection);

    std::string connectionText_;
    std::function<void(const Connection&)> prepareNew_;
    std::unique_ptr<Connection> idle_;
    std::chrono::steady_clock::time_point idleSince_;
};

class PooledConnection {
public:
    // The pool's idle connection, else a new one.
    explicit PooledConnection(ConnectionPool& pool);
    // Gives the connection back to the pool, unless its use is ending by an
    // exception (then it is closed).
    ~PooledConnection();
    PooledConnection(const PooledConnection&) = delete;
    PooledConnection& operator=(const PooledConnection&) = delete;

    const Connection& Get() const { return *connection_; }
    // Closes the connection now instead of keeping it (it failed).
    void Discard() { connection_.reset(); }

private:
    ConnectionPool& pool_;
    std::unique_ptr<Connection> connection_;
    int exceptionsAtOpening_;
};

}  // namespace sorvane::odbc
