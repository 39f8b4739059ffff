#pragma once
// The one error type of the program. Every failure travels as a RunFailure up
// to the single trap of its entry point (start-up's handler, or the trap of a
// window command), which reports its number and description.

#include <stdexcept>
#include <string>

namespace sorvane {

// Numbers of the failures the program raises itself. Failures of the database
// driver carry the driver's own native error number instead.
enum ErrorNumber : long {
    kInvalidArgument = 5,   // a setting the run cannot work with
    kOverflow = 6,          // a number outside the range of its field
    kInternalError = 51,    // the program broke one of its own rules (a fault to report)
    kTypeMismatch = 13,     // a text that does not convert to the wanted type
    kFileNotFound = 53,     // a file that is not there or cannot be read
    kFileAccess = 75,       // a file or folder that cannot be created or written
    kBatchChanged = 3197,   // rows came into a batch between its export and its delete
};

class RunFailure : public std::runtime_error {
public:
    RunFailure(long number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}

    long Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }

private:
    long number_;
    std::string description_;
};

}  // namespace sorvane
