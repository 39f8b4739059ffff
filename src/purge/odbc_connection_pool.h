#pragma once
// A connection that is opened and closed again and again with the same
// connection text (the export's, once per batch) without logging in each
// time: closing keeps the physical connection for the next opening.
//
// The driver manager's own pooling would do the same, but unixODBC 2.3
// loses two character-set converters per reuse, so a run of 100,000 batches
// would grow by gigabytes. This keeps one idle connection per connection
// text, for the program's one thread.

#include <chrono>
#include <memory>
#include <string>

#include "purge/odbc_connection.h"

namespace sorvane::odbc {

class PooledConnection {
public:
    // The idle connection kept for `connectionText` when there is one that
    // has been idle for no longer than a minute, else a new one.
    explicit PooledConnection(const std::string& connectionText);
    // Keeps the connection for the next opening, unless its use is ending
    // by an exception (then it is closed).
    ~PooledConnection();
    PooledConnection(const PooledConnection&) = delete;
    PooledConnection& operator=(const PooledConnection&) = delete;

    const Connection& Get() const { return *connection_; }

private:
    std::string connectionText_;
    std::unique_ptr<Connection> connection_;
    int exceptionsAtOpening_;
};

// Closes the kept connections (at the end of a run, or in tests).
void CloseIdleConnections();

}  // namespace sorvane::odbc
