#include "purge/batch_transaction.h"

#include "common/run_failure.h"

namespace sorvane {

BatchTransaction::~BatchTransaction() {
    if (committed_) return;
    try {
        connection_.Rollback();
    } catch (const RunFailure&) {
    }
}

void BatchTransaction::Commit() {
    connection_.Commit();
    committed_ = true;
}

}  // namespace sorvane
