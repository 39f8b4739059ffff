#include <gtest/gtest.h>

#include <vector>

#include "common/run_log.h"
#include "odbc/diagnostics.h"
#include "purge/conflict_retry.h"
#include "purge/failure_of.h"

namespace sorvane {
namespace {

TEST(ConflictRetry, PausesGrowAndStayShort) {
    EXPECT_EQ(ConflictPause(2, 0.0).count(), 100);
    EXPECT_EQ(ConflictPause(3, 0.0).count(), 200);
    EXPECT_EQ(ConflictPause(5, 0.0).count(), 800);
    EXPECT_EQ(ConflictPause(5, 1.0).count(), 1200);
    EXPECT_EQ(ConflictPause(2, 7.0).count(), 150);  // jitter out of range is clamped
}

struct RecordingLog : EventLogSink {
    std::vector<std::string> entries;
    bool Write(std::int32_t, const std::string& message, std::int16_t, std::int16_t) override {
        entries.push_back(message);
        return true;
    }
};

TEST(ConflictRetry, ABatchIsTriedAgainAfterEachConflictUpToTheBound) {
    const odbc::DriverFailure deadlock(1213, "40001", "[40001] Deadlock found");
    const odbc::DriverFailure duplicate(1062, "23000", "[23000] Duplicate");
    const struct {
        const char* name;
        int conflicts;         // tries that meet a conflict before the last one
        bool lastFailsOther;   // the last try meets another failure
        long failureNumber;    // 0: the run goes on
    } cases[] = {
        {"no conflict", 0, false, 0},
        {"one conflict", 1, false, 0},
        {"conflicts until the last try", kConflictTries - 1, false, 0},
        {"a conflict at every try", kConflictTries, false, 1213},
        {"another failure ends the run at once", 0, true, 1062},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingLog events;
        RunLog log(events);
        int tries = 0, rollbacks = 0;
        std::vector<int> pausedBefore;
        const RunFailure failure = FailureOf([&] {
            RetryConflicts(
                [&] {
                    if (++tries <= c.conflicts) throw deadlock;
                    if (c.lastFailsOther) throw duplicate;
                },
                [&] { ++rollbacks; }, [](const RunFailure& f) { return f.Number() == 1213; }, "(0, 10]", log, [&](int nextTry) { pausedBefore.push_back(nextTry); });
        });
        EXPECT_EQ(failure.Number(), c.failureNumber);
        EXPECT_EQ(tries, std::min(c.conflicts + 1, kConflictTries));
        EXPECT_EQ(rollbacks, std::min(c.conflicts, kConflictTries));
        const int retries = std::min(c.conflicts, kConflictTries - 1);
        ASSERT_EQ(events.entries.size(), static_cast<std::size_t>(retries));
        ASSERT_EQ(pausedBefore.size(), static_cast<std::size_t>(retries));
        for (int i = 0; i < retries; ++i) EXPECT_EQ(pausedBefore[i], i + 2);
        if (retries > 0) {
            EXPECT_NE(events.entries[0].find("(0, 10]"), std::string::npos) << events.entries[0];
            EXPECT_NE(events.entries[0].find("Deadlock found"), std::string::npos) << events.entries[0];
        }
        if (c.failureNumber == 1213) {
            EXPECT_NE(failure.Description().find("Deadlock found"), std::string::npos);
            EXPECT_NE(failure.Description().find("5 tries"), std::string::npos) << failure.Description();
        }
    }
}

}  // namespace
}  // namespace sorvane
