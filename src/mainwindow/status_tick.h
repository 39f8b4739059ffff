#pragma once
// What the status timer shows and how often.

#include <QString>
#include <cstdint>

namespace sorvane {

// The general date and time now, " Deleted: " and the run's batch counter.
QString StatusTickText(std::int64_t batchCounter);

// The timer period in milliseconds for the "Display Status after (sec)"
// field: its value when it reads as a whole number of 1 or more (capped at
// what a timer can hold), else 10 seconds.
int StatusTimerPeriodMs(const QString& displayStatusAfter);

}  // namespace sorvane
