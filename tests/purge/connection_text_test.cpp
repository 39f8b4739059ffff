#include <gtest/gtest.h>

#include <array>

#include "purge/connection_text.h"

namespace sorvane {
namespace {

TEST(BuildConnectionText, LeavesOutEmptyCredentialsAndBracesSpecialValues) {
    const std::array<const char*, 4> cases[] = {
        // data source, user, password, connection text
        {"EventsDB", "", "", "DSN=EventsDB"},
        {"EventsDB", "syslog", "", "DSN=EventsDB;UID=syslog"},
        {"EventsDB", "", "secret", "DSN=EventsDB;PWD=secret"},
        // Passwords with ';' and '}' log in to the test servers in every server test.
        {"EventsDB", "syslog", "{x}", "DSN=EventsDB;UID=syslog;PWD={{x}}}"},
        {"EventsDB", "us;er", "p", "DSN=EventsDB;UID={us;er};PWD=p"},
        {"My DSN;x", "", "", "DSN=My DSN;x"},  // the user's own text, used as typed
    };
    for (const auto& [dsn, user, password, expected] : cases) {
        EXPECT_EQ(BuildConnectionText(dsn, user, password), expected) << dsn << user << password;
    }
}

}  // namespace
}  // namespace sorvane
