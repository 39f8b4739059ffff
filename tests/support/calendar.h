#pragma once
// A local calendar day as the engine's clock hands it over.

#include <ctime>

namespace sorvane::test {

inline std::tm Day(int year, int month, int day, int hour = 0) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    return t;
}

}  // namespace sorvane::test
