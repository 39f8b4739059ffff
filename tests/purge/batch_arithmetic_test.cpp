#include <gtest/gtest.h>

#include <limits>

#include "purge/batch_arithmetic.h"
#include "purge/run_failure.h"

namespace sorvane {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(BatchArithmetic, LowerBoundStaysInside32Bits) {
    EXPECT_EQ(BatchLowerBound(125, 10), 115);
    EXPECT_EQ(BatchLowerBound(1, 10), -9);
    EXPECT_EQ(BatchLowerBound(kMin + 10, 10), kMin);
    EXPECT_EQ(BatchLowerBound(kMax, 32767), kMax - 32767);
    for (const auto& [top, width] : {std::pair{kMin + 9, 10}, std::pair{kMin, 1}}) {
        try {
            BatchLowerBound(top, width);
            ADD_FAILURE() << "no overflow below " << top;
        } catch (const RunFailure& failure) {
            EXPECT_EQ(failure.Number(), kOverflow);
        }
    }
}

TEST(BatchArithmetic, CountsAreWrittenWithTheSignBlank) {
    EXPECT_EQ(FormatSignedCount(30), " 30");
    EXPECT_EQ(FormatSignedCount(0), " 0");
    EXPECT_EQ(FormatSignedCount(-5), "-5");
    EXPECT_EQ(FormatSignedCount(4294967296LL), " 4294967296");
    EXPECT_EQ("Deleted records no: " + FormatSignedCount(30), "Deleted records no:  30");
}

TEST(BatchArithmetic, ElapsedKeepsTheTimeOfDayOnly) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "00:00:00"},
        {59, "00:00:59"},
        {3723, "01:02:03"},
        {86399, "23:59:59"},
        {86400, "00:00:00"},
        {25 * 3600, "01:00:00"},
        {-1, "23:59:59"},
    };
    for (const auto& [seconds, expected] : cases) EXPECT_EQ(FormatElapsed(seconds), expected) << seconds;
}

}  // namespace
}  // namespace sorvane
