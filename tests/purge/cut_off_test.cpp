#include <gtest/gtest.h>

#include "purge/cut_off.h"
#include "purge/run_failure.h"

namespace sorvane {
namespace {

std::tm Day(int year, int month, int day) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = 15;  // the time of day plays no part
    return t;
}

struct CutOffCase {
    std::int16_t days;
    std::tm today;
    const char* expected;
};

TEST(CutOffLiteral, IsMidnightOfTheDayDaysMinusOneBack) {
    const CutOffCase cases[] = {
        {7, Day(2026, 12, 6), "{ts '2026-11-30 00:00:00'}"},
        {3, Day(2027, 1, 7), "{ts '2027-01-05 00:00:00'}"},
        {1, Day(2026, 12, 6), "{ts '2026-12-06 00:00:00'}"},
        {0, Day(2026, 12, 6), "{ts '2026-12-07 00:00:00'}"},
        {0, Day(2026, 12, 31), "{ts '2027-01-01 00:00:00'}"},
        {2, Day(2028, 3, 1), "{ts '2028-02-29 00:00:00'}"},
        {-5, Day(2026, 12, 6), "{ts '2026-12-12 00:00:00'}"},
        {32767, Day(2026, 12, 6), "{ts '1937-03-22 00:00:00'}"},
        {367, Day(2026, 12, 6), "{ts '2025-12-05 00:00:00'}"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildCutOffLiteral(c.days, c.today), c.expected) << "days " << c.days;
    }
}

TEST(CutOffLiteral, AnAgeWhoseDifferenceLeaves16BitsIsAnOverflow) {
    for (const std::int16_t days : {std::int16_t{-32767}, std::int16_t{-32768}}) {
        try {
            BuildCutOffLiteral(days, Day(2026, 12, 6));
            ADD_FAILURE() << "no overflow for " << days;
        } catch (const RunFailure& failure) {
            EXPECT_EQ(failure.Number(), kOverflow);
        }
    }
    EXPECT_NO_THROW(BuildCutOffLiteral(-32766, Day(2026, 12, 6)));
}

}  // namespace
}  // namespace sorvane
