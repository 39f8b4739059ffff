#pragma once
// What the purge engine tells whoever started it, at the steps of a run. The
// main window implements it (status line, status timer, locked fields,
// message boxes, the end of the program); a command-line run uses the base
// class, whose steps do nothing, so the engine never depends on a windowing
// toolkit.

#include <cstdint>
#include <string>
#include <vector>

namespace sorvane {

// What a run has done so far, in real rows rather than id slots.
struct RunTally {
    // Batches walked, those passed over as empty included, of all the
    // batches of the id range.
    std::int64_t batchesDone = 0;
    std::int64_t batchesTotal = 0;
    std::int64_t rowsDeleted = 0;
    // Lines written to the backup: a batch exported again after an undone
    // delete counts its rows each time they were written.
    std::int64_t rowsBackedUp = 0;
    // The backup files written to, in the order first opened; filled at the
    // end of the run.
    std::vector<std::string> backupFiles;
};

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

    // The run's figures after each batch (just after BatchDone).
    virtual void BatchTallied(const RunTally& /*tally*/) {}

    // The last batch is done. The run's summary debug line comes next.
    virtual void BatchesDone() {}

    // The run is over: `elapsed` as "hh:mm:ss", `deleted` whether the run
    // deleted rows (rather than only backing them up).
    virtual void RunFinished(std::int64_t /*batchCounter*/, const std::string& /*elapsed*/,
                             bool /*deleted*/) {}

    // The run's final figures, backup files included; right after its
    // summary debug line and before RunFinished.
    virtual void RunTallied(const RunTally& /*tally*/) {}

    // The signal that asked the run to stop, or 0. Looked at before every
    // batch: a run stops between two batches, never between a batch's export
    // and its delete.
    virtual int StopSignal() const { return 0; }
};

}  // namespace sorvane
