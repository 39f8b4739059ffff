// The export ahead with a recording export in place of the database.

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "purge/export_ahead.h"
#include "purge/failure_of.h"

namespace sorvane {
namespace {

// Exports that take a while and note when each begins and ends.
struct SlowExports {
    std::int64_t operator()(std::int64_t top) {
        Note("begin " + std::to_string(top));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        Note("end " + std::to_string(top));
        return top / 10;
    }
    void Note(const std::string& event) {
        const std::lock_guard<std::mutex> lock(mutex);
        events.push_back(event);
    }
    std::mutex mutex;
    std::vector<std::string> events;
};

// Its exports run one at a time, on a thread that leaves the stop signals to the run's.
TEST(ExportAhead, GivesABatchOnlyItsOwnExportAndWaitsForItsExportWhenItGoes) {
    SlowExports exports;
    {
        ExportAhead ahead([&](std::int64_t top) {
            sigset_t blocked;
            pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
            exports.Note(sigismember(&blocked, SIGINT) && sigismember(&blocked, SIGTERM) ? "no signals" : "signals");
            return exports(top);
        });
        EXPECT_EQ(ahead.Take(100), 10);  // nothing under way: exported now, on this thread
        ahead.Start(90);
        EXPECT_EQ(FailureOf([&] { ahead.Start(80); }).Number(), kInternalError);
        EXPECT_EQ(FailureOf([&] { ahead.Take(80); }).Number(), kInternalError);
        EXPECT_EQ(ahead.Take(90), 9);
        ahead.Start(80);
        EXPECT_EQ(ahead.ExportAgain(90), 9);  // once the export of 80 is done with the connection
        EXPECT_EQ(ahead.Take(80), 8);
        ahead.Start(70);
    }
    EXPECT_EQ(exports.events,
              (std::vector<std::string>{"signals", "begin 100", "end 100", "no signals", "begin 90", "end 90",
                                        "no signals", "begin 80", "end 80", "signals", "begin 90", "end 90",
                                        "no signals", "begin 70", "end 70"}));
}

}  // namespace
}  // namespace sorvane
