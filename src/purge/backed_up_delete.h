#pragma once
// The DELETE of a batch that has just been exported, done so that no row
// goes without being in the backup.

#include <cstdint>
#include <functional>
#include <string>

#include "odbc/connection.h"
#include "odbc/statement.h"

namespace sorvane {

class RunLog;

// A row put into the batch between its export and its DELETE (an old backup
// restored while the run goes on) would be deleted without being in the
// backup. So `deleteBatch` (prepared on `connection`, which is in
// transactions, its parameters set) runs in a transaction that is committed
// only when it removed no more rows than `exportBatch` (given the number of
// the attempt, from 1) wrote; otherwise it is rolled back, reported, and the
// batch exported again (the backup may then hold some rows twice, never too
// few). Gives the rows the committed attempt exported and deleted. Raises RunFailure
// kBatchChanged after three such tries, and when a rolled-back delete left
// rows gone (a table that cannot undo a delete).
struct BackedUpBatch {
    std::int64_t exported;
    std::int64_t deleted;
};
BackedUpBatch DeleteBackedUpBatch(odbc::Connection& connection, odbc::Statement& deleteBatch,
                                 const std::function<std::int64_t(int attempt)>& exportBatch,
                                 const std::string& batchName, const RunLog& log);

}  // namespace sorvane
