#pragma once
// What the purge engine needs from whoever started it. The main window
// implements it; a command-line run uses the base class, whose operations do
// nothing, so the engine never depends on a windowing toolkit.

#include <cstdint>
#include <string>

namespace sorvane {

class PurgeHost {
public:
    virtual ~PurgeHost() = default;

    // Let pending window events run once. Called once per batch, and by the
    // export once per row and once per field.
    virtual void Yield() {}

    // The status line of the window (`LabelStatus`).
    virtual void SetStatusText(const std::string& /*text*/) {}
    virtual std::string StatusText() const { return {}; }

    // The run's batch counter after each batch, for the status tick.
    virtual void SetProgressCounter(std::int64_t /*batchCounter*/) {}

    // The status timer (`timerDeleting`).
    virtual void SetStatusTimerInterval(int /*milliseconds*/) {}
    virtual void SetStatusTimerEnabled(bool /*enabled*/) {}

    // `txtDisplayStatusAfter` and `txtDelRecPerTrip`, locked while batches run.
    virtual void SetRunFieldsEnabled(bool /*enabled*/) {}

    // A modal message box with an OK button, no icon, titled "Sorvane".
    virtual void ShowMessage(const std::string& /*text*/) {}

    // End the program at once (a window run that got through its batches).
    virtual void EndProgram() {}
};

}  // namespace sorvane
