#include <gtest/gtest.h>

#include "purge/cut_off.h"
#include "purge/failure_of.h"
#include "support/calendar.h"

namespace sorvane {
namespace {

struct CutOffCase {
    std::int16_t days;
    std::tm today;
    const char* expected;  // nothing: the difference leaves 16 bits
};

// The time of day (15:00 here) plays no part in the cut-off.
TEST(CutOffLiteral, IsMidnightOfTheDayDaysMinusOneBack) {
    const auto Day = [](int year, int month, int day) { return test::Day(year, month, day, 15); };
    const CutOffCase cases[] = {
        {7, Day(2026, 12, 6), "2026-11-30"},     {1, Day(2026, 12, 6), "2026-12-06"},
        {0, Day(2026, 12, 31), "2027-01-01"},    {2, Day(2028, 3, 1), "2028-02-29"},
        {-5, Day(2026, 12, 6), "2026-12-12"},    {32767, Day(2026, 12, 6), "1937-03-22"},
        {-32766, Day(2026, 12, 6), "2116-08-23"}, {-32767, Day(2026, 12, 6), nullptr},
        {-32768, Day(2026, 12, 6), nullptr},
    };
    for (const auto& c : cases) {
        if (c.expected != nullptr) {
            EXPECT_EQ(BuildCutOffLiteral(c.days, c.today), std::string("{ts '") + c.expected + " 00:00:00'}");
        } else {
            EXPECT_EQ(FailureOf([&] { BuildCutOffLiteral(c.days, c.today); }).Number(), kOverflow) << c.days;
        }
    }
}

}  // namespace
}  // namespace sorvane
