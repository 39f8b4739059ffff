#pragma once
// The main window as the purge run sees it: its status line, status timer,
// the two fields locked during the batches, its message boxes and the end of
// the program.

#include <chrono>
#include <cstdint>

#include "mainwindow/form_controls.h"
#include "purge/purge_host.h"

class QWidget;

namespace sorvane {

class WindowServices;

class WindowPurgeHost : public PurgeHost {
public:
    WindowPurgeHost(const FormControls& controls, WindowServices& services, QWidget& window);

    // Lets the window handle its events (clicks, painting, the status timer)
    // when it last did so kEventPeriod or more ago, else returns at once: the
    // export yields once per field, far more often than anyone can notice.
    void Yield() override;
    void SetStatusText(const std::string& text) override;
    std::string StatusText() const override;
    void SetProgressCounter(std::int64_t batchCounter) override;
    void SetStatusTimerInterval(int milliseconds) override;
    void SetStatusTimerEnabled(bool enabled) override;
    void SetRunFieldsEnabled(bool enabled) override;
    void ShowMessage(const std::string& text) override;
    void EndProgram() override;

    // The batch counter of the run under way (0 before its first batch).
    std::int64_t BatchCounter() const { return batchCounter_; }
    void StartCounting() { batchCounter_ = 0; }

    // The longest stretch of a run's quick yields without handling events.
    // The clock it is read on ticks every few milliseconds, so a stretch may
    // end up to one tick earlier or later.
    static constexpr std::chrono::milliseconds kEventPeriod{4};

private:
    const FormControls& controls_;
    WindowServices& services_;
    QWidget& window_;
    std::int64_t batchCounter_ = 0;
    // On the coarse monotonic clock; the first yield handles events.
    std::chrono::nanoseconds lastEvents_ = -kEventPeriod;
};

}  // namespace sorvane
