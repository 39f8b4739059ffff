#pragma once
// The export of the batch below, run on a thread of its own while the
// current batch is being deleted. Keyed by the bounds of the batch (or span
// of batches) it exports, so that a DELETE is only ever checked against the
// count of the export of those same ids.

#include <cstdint>
#include <functional>
#include <future>
#include <optional>

#include "purge/batch_walk.h"

namespace sorvane {

class ExportAhead {
public:
    // Writes the batch to the backup, flushed, and gives its rows. Never
    // called twice at once: one export at a time.
    using ExportBatch = std::function<std::int64_t(const Batch& batch)>;

    explicit ExportAhead(ExportBatch exportBatch);
    // Waits for an export under way. A run that stops or fails while one is
    // under way therefore returns only once that batch is in the backup (not
    // deleted: the next run exports it again, so its rows may be there twice,
    // never lost); the export's own failure is then not reported again.
    ~ExportAhead();
    ExportAhead(const ExportAhead&) = delete;
    ExportAhead& operator=(const ExportAhead&) = delete;

    // Starts exporting the batch on another thread, one that takes no
    // signals.
    // Raises RunFailure kInternalError when an export is under way already.
    void Start(const Batch& batch);

    // The rows of the batch, as its first export gives
    // them: the export under way, which must be this batch's (any other is an
    // internal failure, raised as RunFailure kInternalError), or else an
    // export done now.
    std::int64_t Take(const Batch& batch);

    // The batch exported once more (after its delete was undone), once the
    // export under way (of the batch below) has finished with the connection.
    std::int64_t ExportAgain(const Batch& batch);

private:
    ExportBatch exportBatch_;
    std::optional<Batch> aheadBatch_;
    std::future<std::int64_t> ahead_;
};

}  // namespace sorvane
