#include <gtest/gtest.h>

#include "purge/count_and_elapsed_text.h"

namespace sorvane {
namespace {

TEST(CountAndElapsedText, CountsKeepASignPlaceAndElapsedTimesOnlyTheTimeOfDay) {
    EXPECT_EQ(FormatSignedCount(30), " 30");
    EXPECT_EQ(FormatSignedCount(-5), "-5");
    EXPECT_EQ(FormatSignedCount(9223372036854775807LL), " 9223372036854775807");
    const std::pair<std::int64_t, const char*> elapsed[] = {
        {0, "00:00:00"}, {3723, "01:02:03"}, {86399, "23:59:59"}, {86400, "00:00:00"}, {-1, "23:59:59"}};
    for (const auto& [seconds, expected] : elapsed) EXPECT_EQ(FormatElapsed(seconds), expected) << seconds;
}

}  // namespace
}  // namespace sorvane
