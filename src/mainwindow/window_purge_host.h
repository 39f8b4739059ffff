#pragma once
// The main window as the purge run sees it: its status line, status timer,
// the two fields locked during the batches, its message boxes and the end of
// the program.

#include <cstdint>

#include "mainwindow/form_controls.h"
#include "purge/purge_host.h"

class QWidget;

namespace sorvane {

class WindowServices;

class WindowPurgeHost : public PurgeHost {
public:
    WindowPurgeHost(const FormControls& controls, WindowServices& services, QWidget& window);

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

private:
    const FormControls& controls_;
    WindowServices& services_;
    QWidget& window_;
    std::int64_t batchCounter_ = 0;
};

}  // namespace sorvane
