#pragma once
// The RunFailure a call raises; number 0 and an empty description when none.

#include "common/run_failure.h"

namespace sorvane {

template <typename Call>
RunFailure FailureOf(Call call) {
    try {
        call();
    } catch (const RunFailure& failure) {
        return failure;
    }
    return {0, ""};
}

}  // namespace sorvane
