#include "purge/write_set_limit.h"

#include <charconv>
#include <optional>
#include <string>

#include "common/run_failure.h"
#include "odbc/diagnostics.h"
#include "odbc/statement.h"

namespace sorvane {

namespace {

// The node's wsrep_max_ws_rows when replication is on and the limit set
// (0 means none).
std::optional<std::int64_t> GaleraRowLimit(const odbc::Connection& connection) {
    if (connection.SqlDialect().Of() != odbc::Dialect::System::MariaDB) return std::nullopt;
    odbc::Statement query(connection);
    try {
        // A server built without Galera does not know the variables.
        query.ExecuteDirect("SELECT @@wsrep_on, @@wsrep_max_ws_rows");
    } catch (const odbc::DriverFailure&) {
        return std::nullopt;
    }
    if (!query.Fetch()) return std::nullopt;
    const std::optional<std::string> on = query.Text(0);
    const std::optional<std::string> limit = query.Text(1);
    if (!on || *on != "1" || !limit) return std::nullopt;
    std::int64_t rows = 0;
    const auto [end, error] = std::from_chars(limit->data(), limit->data() + limit->size(), rows);
    if (error != std::errc() || rows <= 0) return std::nullopt;
    return rows;
}

}  // namespace

void CheckWriteSetLimit(const odbc::Connection& connection, std::int64_t batchWidth) {
    const std::optional<std::int64_t> limit = GaleraRowLimit(connection);
    if (limit && batchWidth > *limit) {
        throw RunFailure(kInvalidArgument,
                         "Records per trip " + std::to_string(batchWidth) +
                             " is more than this Galera cluster lets one transaction change "
                             "(wsrep_max_ws_rows = " + std::to_string(*limit) +
                             "): choose " + std::to_string(*limit) + " or fewer, or raise the limit");
    }
}

}  // namespace sorvane
