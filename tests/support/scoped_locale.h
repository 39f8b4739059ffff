#pragma once
// Pins the process locale for one test and restores it afterwards; the caller
// skips or fails when the machine lacks the locale (Available).

#include <clocale>
#include <string>

namespace sorvane::test {

class ScopedLocale {
public:
    explicit ScopedLocale(const char* name) : active_(std::setlocale(LC_ALL, name) != nullptr) {}
    ~ScopedLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    bool Available() const { return active_; }

private:
    const std::string previous_ = std::setlocale(LC_ALL, nullptr);
    const bool active_;
};

}  // namespace sorvane::test
