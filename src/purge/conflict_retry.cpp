#include "purge/conflict_retry.h"

#include <algorithm>
#include <random>
#include <thread>

#include "common/run_log.h"
#include "odbc/diagnostics.h"

namespace sorvane {

namespace {

constexpr std::int32_t kWarningEventType = 2;
constexpr std::int16_t kConflictEventId = 28;
constexpr std::chrono::milliseconds kFirstPause{100};

}  // namespace

bool IsTransactionConflict(const odbc::Connection& connection, const RunFailure& failure) {
    const auto* driverFailure = dynamic_cast<const odbc::DriverFailure*>(&failure);
    return driverFailure != nullptr && connection.SqlDialect().IsTransactionConflict(*driverFailure);
}

std::chrono::milliseconds ConflictPause(int nextTry, double jitter) {
    const int doublings = std::clamp(nextTry - 2, 0, kConflictTries);
    const std::chrono::milliseconds pause = kFirstPause * (1 << doublings);
    return pause + std::chrono::milliseconds(static_cast<long>(
                       static_cast<double>(pause.count()) / 2 * std::clamp(jitter, 0.0, 1.0)));
}

void RetryConflicts(const std::function<void()>& tryBatch, const std::function<void()>& rollBack,
                    const ConflictTest& isConflict, const std::string& batchName, const RunLog& log,
                    const std::function<void(int nextTry)>& pauseBefore) {
    for (int attempt = 1;; ++attempt) {
        try {
            tryBatch();
            return;
        } catch (const RunFailure& failure) {
            if (!isConflict(failure)) throw;
            rollBack();
            if (attempt == kConflictTries) {
                throw RunFailure(failure.Number(), failure.Description() + " (batch " + batchName +
                                                       ", " + std::to_string(attempt) + " tries)");
            }
            const std::string note = "Batch " + batchName + " met a conflicting transaction (" +
                                     failure.Description() + "); try " + std::to_string(attempt + 1) +
                                     " of " + std::to_string(kConflictTries) + " follows";
            log.WriteEventLogEntry(kWarningEventType, note, kConflictEventId, kConflictEventId);
            log.WriteDebugLog(note);
        }
        pauseBefore(attempt + 1);
    }
}

void SleepBeforeRetry(int nextTry) {
    thread_local std::minstd_rand random{std::random_device{}()};
    std::uniform_real_distribution<double> jitter(0.0, 1.0);
    std::this_thread::sleep_for(ConflictPause(nextTry, jitter(random)));
}

}  // namespace sorvane
