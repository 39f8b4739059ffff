#include "startup/run_figures_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sorvane {

namespace {

// Rows a run has dealt with: a run that backs up and deletes does both to
// the same rows, one that does only one of them has 0 for the other.
std::int64_t RowsHandled(const RunTally& tally) { return std::max(tally.rowsDeleted, tally.rowsBackedUp); }

std::string RowsPerSecond(const RunTally& tally, double elapsedSeconds) {
    // A run faster than the clock's grain still gets a finite rate.
    const double rate = static_cast<double>(RowsHandled(tally)) / std::max(elapsedSeconds, 0.001);
    return std::to_string(std::llround(rate)) + " rows/s";
}

}  // namespace

std::string FormatDuration(double seconds) {
    seconds = std::max(seconds, 0.0);
    char text[32];
    if (seconds < 59.95) {
        std::snprintf(text, sizeof text, "%.1f s", seconds);
        return text;
    }
    const long long whole = std::llround(seconds);
    if (whole < 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    }
    return text;
}

std::string FormatProgressLine(const RunTally& tally, double elapsedSeconds, bool deletes, bool backsUp) {
    std::string line = std::to_string(tally.batchesDone) + "/" + std::to_string(tally.batchesTotal) + " batches";
    if (deletes) line += ", " + std::to_string(tally.rowsDeleted) + " rows deleted";
    if (backsUp) line += ", " + std::to_string(tally.rowsBackedUp) + (deletes ? " backed up" : " rows backed up");
    line += ", " + RowsPerSecond(tally, elapsedSeconds) + ", " + FormatDuration(elapsedSeconds) + " elapsed";
    if (tally.batchesDone > 0) {
        const double left = elapsedSeconds * static_cast<double>(tally.batchesTotal - tally.batchesDone) /
                            static_cast<double>(tally.batchesDone);
        line += ", about " + FormatDuration(left) + " left";
    }
    return line;
}

std::string FormatRunSummary(const RunTally& tally, double elapsedSeconds) {
    std::string summary = std::to_string(tally.rowsDeleted) + " rows deleted, " +
                          std::to_string(tally.rowsBackedUp) + " rows backed up";
    for (std::size_t index = 0; index < tally.backupFiles.size(); ++index) {
        summary += (index == 0 ? " to " : ", ") + tally.backupFiles[index];
    }
    return summary + ", " + std::to_string(tally.batchesDone) + " batches in " + FormatDuration(elapsedSeconds) +
           " (" + RowsPerSecond(tally, elapsedSeconds) + ")";
}

}  // namespace sorvane
