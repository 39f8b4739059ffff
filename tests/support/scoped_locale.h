#pragma once
// Pins the process locale for one test and restores it afterwards. Tests that
// need a locale the machine lacks are skipped by the caller (see Available).

#include <clocale>
#include <string>

namespace sorvane::test {

class ScopedLocale {
public:
    explicit ScopedLocale(const char* name) : previous_(std::setlocale(LC_ALL, nullptr)) {
        active_ = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    bool Available() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

}  // namespace sorvane::test
