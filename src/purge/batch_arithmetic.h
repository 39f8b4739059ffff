#pragma once
// Number work of the batch loop and the texts it reports.

#include <cstdint>
#include <string>

namespace sorvane {

// batchTop - batchWidth in 32-bit signed arithmetic; a result outside that
// range raises RunFailure kOverflow.
std::int32_t BatchLowerBound(std::int32_t batchTop, std::int32_t batchWidth);

// How many whole batches of batchWidth lie between the batch topped by
// batchTop and the one holding `id` (id <= batchTop): the batches a run may
// pass over when none of them holds an old row.
std::int64_t BatchesAbove(std::int32_t batchTop, std::int32_t batchWidth, std::int32_t id);

// A count in signed form: a blank before a number of 0 or more, a minus sign
// before a negative one (" 30", "-5").
std::string FormatSignedCount(std::int64_t count);

// A span as "hh:mm:ss" of its time of day: whole days are dropped.
std::string FormatElapsed(std::int64_t seconds);

}  // namespace sorvane
