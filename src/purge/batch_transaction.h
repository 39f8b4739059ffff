#pragma once
// The transaction of one batch's DELETE: rolled back unless committed, so
// that no way out of a batch (a failure, a retry) leaves its delete pending.

#include "odbc/connection.h"

namespace sorvane {

class BatchTransaction {
public:
    // `connection` is in transactions (BeginTransactions) and outlives this.
    explicit BatchTransaction(odbc::Connection& connection) : connection_(connection) {}
    // Rolls back what was not committed. A rollback that fails here is not
    // reported: the failure that ended the batch already is, and the server
    // drops the transaction with the connection.
    ~BatchTransaction();
    BatchTransaction(const BatchTransaction&) = delete;
    BatchTransaction& operator=(const BatchTransaction&) = delete;

    void Commit();

private:
    odbc::Connection& connection_;
    bool committed_ = false;
};

}  // namespace sorvane
