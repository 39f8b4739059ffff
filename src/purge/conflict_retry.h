#pragma once
// What a batch does when its transaction loses to another one: a deadlock, a
// lock wait that timed out, a serialization failure, or a Galera cluster's
// certification conflict (which reaches the client as a deadlock at COMMIT).
// The server has then undone the batch's delete, so doing the whole batch
// again (export, delete, commit) is safe; only a conflict that persists
// through every try ends the run.

#include <chrono>
#include <functional>
#include <string>

#include "common/run_failure.h"
#include "odbc/connection.h"

namespace sorvane {

class RunLog;

// Tries of one batch, the first included.
inline constexpr int kConflictTries = 5;

// Whether `failure` is a conflict with another transaction on `connection`,
// as its database system's dialect tells: a deadlock, a lock wait timeout, a
// serialization failure.
bool IsTransactionConflict(const odbc::Connection& connection, const RunFailure& failure);

// The pause before try `nextTry` (2 to kConflictTries): 100 ms, doubled at
// every further try, stretched by `jitter` (0 to 1) times half of itself, so
// that two runs that met each other do not meet again in step.
std::chrono::milliseconds ConflictPause(int nextTry, double jitter);

// Runs `tryBatch` until it ends without a failure that `isConflict` calls a
// conflict. After a conflict: `rollBack`, a warning in the system log and debug.log, `pauseBefore(next
// try)`, and the next try. Other failures pass unchanged; the conflict of the
// last try ends the run with the server's own number and message and the
// count of tries.
using ConflictTest = std::function<bool(const RunFailure&)>;
void RetryConflicts(const std::function<void()>& tryBatch, const std::function<void()>& rollBack,
                    const ConflictTest& isConflict, const std::string& batchName, const RunLog& log,
                    const std::function<void(int nextTry)>& pauseBefore);

// The pause of a real run: sleeps ConflictPause with a random jitter.
void SleepBeforeRetry(int nextTry);

}  // namespace sorvane
