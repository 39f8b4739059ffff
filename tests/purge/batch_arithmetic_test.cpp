#include <gtest/gtest.h>

#include <limits>

#include "purge/batch_arithmetic.h"
#include "purge/failure_of.h"

namespace sorvane {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(BatchArithmetic, LowerBoundStaysInside32Bits) {
    EXPECT_EQ(BatchLowerBound(1, 10), -9);
    EXPECT_EQ(BatchLowerBound(kMin + 10, 10), kMin);
    EXPECT_EQ(BatchLowerBound(kMax, 32767), kMax - 32767);
    EXPECT_EQ(FailureOf([] { BatchLowerBound(kMin + 9, 10); }).Number(), kOverflow);
    EXPECT_EQ(FailureOf([] { BatchLowerBound(kMin, 1); }).Number(), kOverflow);
}

TEST(BatchArithmetic, CountsKeepASignPlaceAndElapsedTimesOnlyTheTimeOfDay) {
    EXPECT_EQ(FormatSignedCount(30), " 30");
    EXPECT_EQ(FormatSignedCount(-5), "-5");
    EXPECT_EQ(FormatSignedCount(4294967296LL), " 4294967296");
    const std::pair<std::int64_t, const char*> elapsed[] = {
        {0, "00:00:00"}, {3723, "01:02:03"}, {86399, "23:59:59"}, {86400, "00:00:00"}, {-1, "23:59:59"}};
    for (const auto& [seconds, expected] : elapsed) EXPECT_EQ(FormatElapsed(seconds), expected) << seconds;
}

}  // namespace
}  // namespace sorvane
