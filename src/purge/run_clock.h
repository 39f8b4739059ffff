#pragma once
// Where a run takes the local date and time from. Runs ask it for the cut-off,
// the backup file's date and the elapsed time; tests hand in their own to
// place a run on a chosen day or across midnight.

#include <ctime>

namespace sorvane {

class RunClock {
public:
    virtual ~RunClock() = default;
    virtual std::time_t Now() const;
};

// The system clock, as runs use it when nobody says otherwise.
const RunClock& SystemRunClock();

// The local date and time of a moment.
std::tm LocalTime(std::time_t moment);

}  // namespace sorvane
