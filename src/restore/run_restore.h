#pragma once
// The way back from a backup file: its rows inserted into the table they
// were purged from, converted by each column's type, in batches of one
// transaction each. Rows whose id is in the table already are skipped, so a
// restore run twice (or a backup that holds a row twice) restores each row
// once.

#include <cstdint>
#include <string>

#include "purge/purge_host.h"
#include "purge/purge_settings.h"

namespace sorvane {

class RunLog;

struct RestoreRequest {
    // The data source, login and table, and the -sep and -esc the backup
    // was written with.
    PurgeSettings settings;
    std::string file;
    // Read and convert every row and count what is present; insert nothing.
    bool dryRun = false;
    int batchRows = 1000;
};

struct RestoreReport {
    std::int64_t read = 0;      // rows in the file
    std::int64_t restored = 0;  // inserted (or, in a dry run, to be inserted)
    std::int64_t present = 0;   // skipped: the id was in the table, or earlier in the file
    bool stopped = false;       // host.StopSignal() ended the run between two batches
};

// Every line of the file is read and converted before the first insert: a
// line whose field count is not the table's column count, or a field that
// does not convert to its column's type, stops the run with its line number
// and nothing inserted. A batch the database refuses is rolled back (its
// first failing line named); earlier batches stay, and a rerun goes on
// from there. Raises RunFailure; catches nothing.
RestoreReport RunRestore(const RestoreRequest& request, PurgeHost& host, const RunLog& log);

// "<file> into <table>: N rows read, N restored, N skipped as already present".
std::string RestoreSummary(const RestoreRequest& request, const RestoreReport& report);

}  // namespace sorvane
