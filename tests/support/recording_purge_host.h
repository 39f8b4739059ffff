#pragma once
// A PurgeHost that remembers what a run asked of it, in order, for tests.
// Yields are counted rather than listed; a test can hook into them.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "purge/purge_host.h"

namespace sorvane::test {

class RecordingPurgeHost : public PurgeHost {
public:
    // Every call but Yield, as "status <text>", "progress <n>", "interval <ms>",
    // "timer on|off", "fields on|off", "message <text>", "end".
    std::vector<std::string> calls;
    int yields = 0;
    // Called on every Yield with the number of yields so far, and after each
    // batch with the run's batch counter.
    std::function<void(int)> onYield;
    std::function<void(std::int64_t)> onProgress;

    void Yield() override {
        ++yields;
        if (onYield) onYield(yields);
    }
    void SetStatusText(const std::string& text) override {
        status_ = text;
        calls.push_back("status " + text);
    }
    std::string StatusText() const override { return status_; }
    void SetProgressCounter(std::int64_t counter) override {
        calls.push_back("progress " + std::to_string(counter));
        if (onProgress) onProgress(counter);
    }
    void SetStatusTimerInterval(int milliseconds) override {
        calls.push_back("interval " + std::to_string(milliseconds));
    }
    void SetStatusTimerEnabled(bool enabled) override {
        calls.push_back(std::string("timer ") + (enabled ? "on" : "off"));
    }
    void SetRunFieldsEnabled(bool enabled) override {
        calls.push_back(std::string("fields ") + (enabled ? "on" : "off"));
    }
    void ShowMessage(const std::string& text) override { calls.push_back("message " + text); }
    void EndProgram() override { calls.push_back("end"); }

private:
    std::string status_;
};

}  // namespace sorvane::test
