// What a command-line run shows of its figures: the texts, the line that
// rewrites itself, and when the host shows them at all.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>

#include "startup/command_line_host.h"
#include "startup/run_figures_text.h"
#include "startup/status_line.h"

namespace sorvane {
namespace {

RunTally Tally(std::int64_t done, std::int64_t total, std::int64_t deleted, std::int64_t backedUp) {
    RunTally tally;
    tally.batchesDone = done;
    tally.batchesTotal = total;
    tally.rowsDeleted = deleted;
    tally.rowsBackedUp = backedUp;
    return tally;
}

TEST(RunFiguresText, DurationsProgressLinesAndSummaries) {
    const std::tuple<double, bool, std::string> durations[] = {
        {0.0, true, "0.0 s"},  {4.24, true, "4.2 s"},   {59.94, true, "59.9 s"},     {59.96, true, "1:00"},
        {4.5, false, "5 s"},   {187.0, true, "3:07"},   {3723.0, false, "1:02:03"},  {90000.0, true, "25:00:00"}};
    for (const auto& [seconds, tenths, text] : durations) EXPECT_EQ(FormatDuration(seconds, tenths), text) << seconds;
    RunTally tally = Tally(120, 1000, 1200, 1150);
    const std::tuple<bool, bool, std::size_t, std::string> lines[] = {
        {true, true, 0, "120/1000 batches, 1200 deleted, 1150 backed up, 40 rows/s, 3:40 left, 30 s elapsed"},
        // Cut to a terminal's width, whole figures from the end; the last column stays free.
        {true, true, 69, "120/1000 batches, 1200 deleted, 1150 backed up, 40 rows/s, 3:40 left"},
        {true, true, 68, "120/1000 batches, 1200 deleted, 1150 backed up, 40 rows/s"},
        {true, false, 0, "120/1000 batches, 1200 rows deleted, 40 rows/s, 3:40 left, 30 s elapsed"},
        {false, true, 0, "120/1000 batches, 1150 rows backed up, 38 rows/s, 3:40 left, 30 s elapsed"},
    };
    for (const auto& [deletes, backsUp, columns, line] : lines) {
        if (!deletes) tally.rowsDeleted = 0;
        EXPECT_EQ(FormatProgressLine(tally, 30.0, deletes, backsUp, columns), line);
    }
    EXPECT_EQ(FormatProgressLine(Tally(0, 7, 0, 0), 0.4, true, false), "0/7 batches, 0 rows deleted, 0 rows/s, 0 s elapsed")
        << "no estimate before the first batch";

    RunTally done = Tally(12, 12, 90, 90);
    done.backupFiles = {"b/2026-12-06-B.csv", "b/2026-12-07-B.csv"};
    EXPECT_EQ(FormatRunSummary(done, 2.0),
              "90 rows deleted, 90 rows backed up to b/2026-12-06-B.csv, b/2026-12-07-B.csv, 12 batches in 2.0 s "
              "(45 rows/s)");
    EXPECT_EQ(FormatRunSummary(Tally(3, 3, 7, 0), 0.0),
              "7 rows deleted, 0 rows backed up, 3 batches in 0.0 s (7000 rows/s)");
}

// Rewritten in place with blanks over a longer line before, cut to fit a
// terminal, ended before other lines.
TEST(StatusLine, RewritesItselfInPlaceAndEndsBeforeOtherLines) {
    std::ostringstream terminal;
    StatusLine line(terminal, 10);
    line.Show("1/3 batches, 10 rows");
    line.Show("2/3 b");
    line.Finish();
    line.Finish();
    line.Show("3/3");
    line.ReplaceWithLine("summary longer than ten columns");
    EXPECT_EQ(terminal.str(), "\r1/3 batch\r2/3 b    \n\r3/3\r   \rsummary longer than ten columns\n");

    std::ostringstream logFile;
    StatusLine uncut(logFile, 0);
    uncut.Show("1/3 batches, 10 rows");
    EXPECT_EQ(logFile.str(), "\r1/3 batches, 10 rows");
}

// Shown on a terminal or when asked for, at most twice a second; the summary
// takes the progress line's place.
TEST(CommandLineHost, ShowsItsFiguresOnATerminalOrWhenAskedAtMostTwiceASecond) {
    for (const auto& [terminal, asked] : {std::pair{true, false}, {false, true}, {false, false}}) {
        SCOPED_TRACE(std::to_string(terminal) + " " + std::to_string(asked));
        std::ostringstream out;
        StatusLine line(out, 0);
        double now = 100.0;
        CommandLineHost host(line, terminal, [&now] { return now; });
        PurgeSettings settings;
        settings.deleteRows = kTrue16;
        RunLog log;
        host.StartRun(settings, log, asked);
        host.BatchesStarting();
        RunTally tally = Tally(0, 5, 0, 0);
        for (const double at : {100.2, 100.4, 100.6, 100.9, 101.2}) {
            now = at;
            ++tally.batchesDone;
            tally.rowsDeleted += 10;
            host.BatchTallied(tally);
        }
        host.RunTallied(tally);
        // The first batch at once, then no sooner than half a second later.
        const std::string last = "4/5 batches, 40 rows deleted, 44 rows/s, 0 s left, 1 s elapsed";
        const std::string shown = "\r1/5 batches, 10 rows deleted, 50 rows/s, 1 s left, 0 s elapsed\r" +
                                  last + "\r" + std::string(last.size(), ' ') +
                                  "\r50 rows deleted, 0 rows backed up, 5 batches in 1.2 s (42 rows/s)\n";
        EXPECT_EQ(out.str(), terminal || asked ? shown : "");
    }
}

}  // namespace
}  // namespace sorvane
