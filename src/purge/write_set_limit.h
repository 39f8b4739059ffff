#pragma once
// A Galera cluster refuses a transaction that changes more rows than its
// wsrep_max_ws_rows; a batch may change as many rows as the batch width.

#include <cstdint>

#include "odbc/connection.h"

namespace sorvane {

// Raises RunFailure kInvalidArgument, naming the limit, when `connection`
// leads to a Galera node whose write-set limit is below `batchWidth`: then a
// full batch could never be deleted. Other servers have no such limit.
void CheckWriteSetLimit(const odbc::Connection& connection, std::int64_t batchWidth);

}  // namespace sorvane
