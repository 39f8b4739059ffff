#pragma once
// A local calendar day as the engine's clock hands it over.

#include <time.h>

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

// "YYYY-MM-DD HH:MM:SS" as a moment of local time.
inline std::time_t LocalMoment(const char* isoText) {
    std::tm t{};
    ::strptime(isoText, "%Y-%m-%d %H:%M:%S", &t);
    t.tm_isdst = -1;
    return std::mktime(&t);
}

}  // namespace sorvane::test
