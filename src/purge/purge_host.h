#pragma once
// What the purge engine tells whoever started it, at the steps of a run. The
// main window implements it (status line, status timer, locked fields,
// message boxes, the end of the program); a command-line run uses the base
// class, whose steps do nothing, so the engine never depends on a windowing
// toolkit.

#include <cstdint>
#include <string>

namespace sorvane {

class PurgeHost {
public:
    virtual ~PurgeHost() = default;

    // Let pending window events run once. Called once per batch, and by the
    // export once per row and once per field.
    virtual void Yield() {}

    // Whether Yield has work to do on the thread that started the run (a
    // window's event loop). Such a run exports on that thread; any other
    // exports the batch below while the current one is being deleted, and
    // its export does not yield.
    virtual bool YieldsOnItsThread() const { return false; }

    // No row lies on or before the cut-off; the run ends without a batch.
    virtual void NoRowsFound() {}

    // The id range is known and the first batch comes next.
    virtual void BatchesStarting() {}

    // A batch is done; `batchCounter` is the records per trip times the
    // batches done so far.
    virtual void BatchDone(std::int64_t /*batchCounter*/) {}

    // The last batch is done. The run's summary debug line comes next.
    virtual void BatchesDone() {}

    // The run is over: `elapsed` as "hh:mm:ss", `deleted` whether the run
    // deleted rows (rather than only backing them up).
    virtual void RunFinished(std::int64_t /*batchCounter*/, const std::string& /*elapsed*/,
                             bool /*deleted*/) {}

    // The signal that asked the run to stop, or 0. Looked at before every
    // batch: a run stops between two batches, never between a batch's export
    // and its delete.
    virtual int StopSignal() const { return 0; }
};

}  // namespace sorvane
