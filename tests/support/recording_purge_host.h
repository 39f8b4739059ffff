#pragma once
// A PurgeHost that records what a run asked of it, in order.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "purge/purge_host.h"

namespace sorvane::test {

class RecordingPurgeHost : public PurgeHost {
public:
    // "status <text>", "progress <n>", "interval <ms>", "timer on|off", "fields on|off",
    // "message <text>", "end"; yields are only counted.
    std::vector<std::string> calls;
    int yields = 0;
    std::function<void(std::int64_t)> onProgress;  // after each batch, with the batch counter

    void Yield() override { ++yields; }
    void SetStatusText(const std::string& text) override {
        status_ = text;
        calls.push_back("status " + text);
    }
    std::string StatusText() const override { return status_; }
    void SetProgressCounter(std::int64_t counter) override {
        calls.push_back("progress " + std::to_string(counter));
        if (onProgress) onProgress(counter);
    }
    void SetStatusTimerInterval(int ms) override { calls.push_back("interval " + std::to_string(ms)); }
    void SetStatusTimerEnabled(bool on) override { calls.push_back("timer" + OnOff(on)); }
    void SetRunFieldsEnabled(bool on) override { calls.push_back("fields" + OnOff(on)); }
    void ShowMessage(const std::string& text) override { calls.push_back("message " + text); }
    void EndProgram() override { calls.push_back("end"); }

private:
    static std::string OnOff(bool on) { return on ? " on" : " off"; }
    std::string status_;
};

}  // namespace sorvane::test
