#pragma once
// The main window as the purge run sees it: while the batches run, the two
// run fields are locked, the status timer ticks and the status line counts
// the batches; at the end a message box reports the run and the program ends.

#include <chrono>
#include <cstdint>
#include <string>

#include "mainwindow/form_controls.h"
#include "purge/purge_host.h"

class QWidget;

namespace sorvane {

class RunLog;
class WindowServices;

class WindowPurgeHost : public PurgeHost {
public:
    // Everything given must outlive the host.
    WindowPurgeHost(const FormControls& controls, WindowServices& services, QWidget& window,
                    const RunLog& log);

    // Lets the window handle its events (clicks, painting, the status timer)
    // when it last did so kEventPeriod or more ago, else returns at once: the
    // export yields once per field, far more often than anyone can notice.
    void Yield() override;
    bool YieldsOnItsThread() const override { return true; }
    void NoRowsFound() override;
    void BatchesStarting() override;
    void BatchDone(std::int64_t batchCounter) override;
    void BatchesDone() override;
    void RunFinished(std::int64_t batchCounter, const std::string& elapsed, bool deleted) override;

    // The batch counter of the run under way (0 before its first batch).
    std::int64_t BatchCounter() const { return batchCounter_; }
    void StartCounting() { batchCounter_ = 0; }
    // The batches stopped, ended or failed: the status tick stops and the
    // two fields a run locks are enabled again. The window's failure trap
    // calls it.
    void StopBatchDisplay();

    // The longest stretch of a run's quick yields without handling events.
    // The clock it is read on ticks every few milliseconds, so a stretch may
    // end up to one tick earlier or later.
    static constexpr std::chrono::milliseconds kEventPeriod{4};

private:
    void SetStatusText(const std::string& text);
    void SetRunFieldsEnabled(bool enabled);
    void ShowMessage(const std::string& text);

    const FormControls& controls_;
    WindowServices& services_;
    QWidget& window_;
    const RunLog& log_;
    std::int64_t batchCounter_ = 0;
    // On the coarse monotonic clock; the first yield handles events.
    std::chrono::nanoseconds lastEvents_ = -kEventPeriod;
};

}  // namespace sorvane
