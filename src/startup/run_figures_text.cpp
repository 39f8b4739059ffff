#include "startup/run_figures_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

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

std::string FormatDuration(double seconds, bool tenths) {
    seconds = std::max(seconds, 0.0);
    char text[32];
    if (tenths && seconds < 59.95) {
        std::snprintf(text, sizeof text, "%.1f s", seconds);
        return text;
    }
    const long long whole = std::llround(seconds);
    if (whole < 60) {
        std::snprintf(text, sizeof text, "%lld s", whole);
    } else if (whole < 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    }
    return text;
}

std::string FormatProgressLine(const RunTally& tally, double elapsedSeconds, bool deletes, bool backsUp,
                               std::size_t columns) {
    std::vector<std::string> figures{std::to_string(tally.batchesDone) + "/" + std::to_string(tally.batchesTotal) +
                                     " batches"};
    const std::string rows = deletes && backsUp ? "" : " rows";
    if (deletes) figures.push_back(std::to_string(tally.rowsDeleted) + rows + " deleted");
    if (backsUp) figures.push_back(std::to_string(tally.rowsBackedUp) + rows + " backed up");
    figures.push_back(RowsPerSecond(tally, elapsedSeconds));
    if (tally.batchesDone > 0) {
        const double left = elapsedSeconds * static_cast<double>(tally.batchesTotal - tally.batchesDone) /
                            static_cast<double>(tally.batchesDone);
        figures.push_back(FormatDuration(left, false) + " left");
    }
    figures.push_back(FormatDuration(elapsedSeconds, false) + " elapsed");

    // The terminal's last column stays free (see StatusLine).
    std::string line = figures.front();
    for (std::size_t index = 1; index < figures.size(); ++index) {
        if (columns > 0 && line.size() + 2 + figures[index].size() >= columns) break;
        line += ", " + figures[index];
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
