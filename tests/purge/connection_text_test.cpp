#include <gtest/gtest.h>

#include "purge/connection_text.h"

namespace sorvane {
namespace {

struct ConnectionTextCase {
    const char* dsn;
    const char* user;
    const char* password;
    const char* expected;
};

TEST(BuildConnectionText, LeavesOutEmptyCredentialsAndBracesSpecialValues) {
    const ConnectionTextCase cases[] = {
        {"EventsDB", "", "", "DSN=EventsDB"},
        {"EventsDB", "syslog", "", "DSN=EventsDB;UID=syslog"},
        {"EventsDB", "", "secret", "DSN=EventsDB;PWD=secret"},
        {"EventsDB", "syslog", "secret", "DSN=EventsDB;UID=syslog;PWD=secret"},
        {"EventsDB", "syslog", "pa;ss", "DSN=EventsDB;UID=syslog;PWD={pa;ss}"},
        {"EventsDB", "syslog", "a}b;c", "DSN=EventsDB;UID=syslog;PWD={a}}b;c}"},
        {"EventsDB", "syslog", "{x}", "DSN=EventsDB;UID=syslog;PWD={{x}}}"},
        {"EventsDB", "us;er", "p", "DSN=EventsDB;UID={us;er};PWD=p"},
        // The data source name is the user's own text, used as typed.
        {"My DSN;x", "", "", "DSN=My DSN;x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildConnectionText(c.dsn, c.user, c.password), c.expected)
            << c.dsn << " / " << c.user << " / " << c.password;
    }
}

}  // namespace
}  // namespace sorvane
