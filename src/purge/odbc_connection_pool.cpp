#include "purge/odbc_connection_pool.h"

#include <exception>
#include <map>

namespace sorvane::odbc {

namespace {

// Longer than any pause between two batches, shorter than the idle limits
// servers and firewalls put on connections.
constexpr std::chrono::seconds kIdleLimit{60};

struct IdleConnection {
    std::unique_ptr<Connection> connection;
    std::chrono::steady_clock::time_point since;
};

std::map<std::string, IdleConnection>& IdleConnections() {
    static std::map<std::string, IdleConnection> idle;
    return idle;
}

std::unique_ptr<Connection> TakeIdle(const std::string& connectionText) {
    auto& idle = IdleConnections();
    const auto found = idle.find(connectionText);
    if (found == idle.end()) return nullptr;
    IdleConnection kept = std::move(found->second);
    idle.erase(found);
    // Whether it still lives is not asked: that would cost a round trip per
    // batch, and the export tries once more on a new connection when the
    // kept one turns out lost.
    if (std::chrono::steady_clock::now() - kept.since > kIdleLimit) {
        return nullptr;  // closed as `kept` goes
    }
    return std::move(kept.connection);
}

}  // namespace

PooledConnection::PooledConnection(const std::string& connectionText)
    : connectionText_(connectionText),
      connection_(TakeIdle(connectionText)),
      exceptionsAtOpening_(std::uncaught_exceptions()) {
    if (!connection_) connection_ = std::make_unique<Connection>(connectionText);
}

PooledConnection::~PooledConnection() {
    // A failure may have left the connection in any state: not worth keeping.
    // Whether it still lives is asked when it is taken again.
    if (std::uncaught_exceptions() > exceptionsAtOpening_) return;
    IdleConnections()[connectionText_] = {std::move(connection_), std::chrono::steady_clock::now()};
}

void CloseIdleConnections() { IdleConnections().clear(); }

}  // namespace sorvane::odbc
