#include "odbc/connection_pool.h"

#include <exception>

namespace sorvane::odbc {

namespace {

// Longer than any pause between two batches, shorter than the idle limits
// servers and firewalls put on connections.
constexpr std::chrono::seconds kIdleLimit{60};

}  // namespace

ConnectionPool::ConnectionPool(std::string connectionText,
                               std::function<void(const Connection&)> prepareNew)
    : connectionText_(std::move(connectionText)), prepareNew_(std::move(prepareNew)) {}

std::unique_ptr<Connection> ConnectionPool::TakeIdle() {
    std::unique_ptr<Connection> kept = std::move(idle_);
    // Whether it still lives is not asked: that would cost a round trip per
    // batch, and the export tries once more on a new connection when the
    // kept one turns out lost.
    if (kept && std::chrono::steady_clock::now() - idleSince_ > kIdleLimit) return nullptr;
    return kept;
}

void ConnectionPool::Keep(std::unique_ptr<Connection> connection) {
    idle_ = std::move(connection);
    idleSince_ = std::chrono::steady_clock::now();
}

PooledConnection::PooledConnection(ConnectionPool& pool)
    : pool_(pool), connection_(pool.TakeIdle()), exceptionsAtOpening_(std::uncaught_exceptions()) {
    if (connection_) return;
    connection_ = std::make_unique<Connection>(pool.connectionText_);
    if (pool.prepareNew_) pool.prepareNew_(*connection_);
}

PooledConnection::~PooledConnection() {
    // A failure may have left the connection in any state: not worth keeping.
    if (std::uncaught_exceptions() > exceptionsAtOpening_) return;
    pool_.Keep(std::move(connection_));
}

}  // namespace sorvane::odbc
