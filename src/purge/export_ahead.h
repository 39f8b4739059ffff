#pragma once
// The export of the batch below, run on a thread of its own while the
// current batch is being deleted. Keyed by the top of the batch it exports,
// so that a batch's DELETE is only ever checked against the count of that
// same batch's export.

#include <cstdint>
#include <functional>
#include <future>
#include <optional>

namespace sorvane {

class ExportAhead {
public:
    // Writes the batch topped by the given id to the backup, flushed, and
    // gives its rows. Never called twice at once: one export at a time.
    using ExportBatch = std::function<std::int64_t(std::int64_t batchTop)>;

    explicit ExportAhead(ExportBatch exportBatch);
    // Waits for an export under way. A run that stops or fails while one is
    // under way therefore returns only once that batch is in the backup (not
    // deleted: the next run exports it again, so its rows may be there twice,
    // never lost); the export's own failure is then not reported again.
    ~ExportAhead();
    ExportAhead(const ExportAhead&) = delete;
    ExportAhead& operator=(const ExportAhead&) = delete;

    // Starts exporting the batch topped by `batchTop` on another thread, one
    // that takes no signals.
    // Raises RunFailure kInternalError when an export is under way already.
    void Start(std::int64_t batchTop);

    // The rows of the batch topped by `batchTop`, as its first export gives
    // them: the export under way, which must be this batch's (any other is an
    // internal failure, raised as RunFailure kInternalError), or else an
    // export done now.
    std::int64_t Take(std::int64_t batchTop);

    // The batch exported once more (after its delete was undone), once the
    // export under way (of the batch below) has finished with the connection.
    std::int64_t ExportAgain(std::int64_t batchTop);

private:
    ExportBatch exportBatch_;
    std::optional<std::int64_t> aheadTop_;
    std::future<std::int64_t> ahead_;
};

}  // namespace sorvane
