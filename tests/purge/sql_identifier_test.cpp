#include <gtest/gtest.h>

#include "purge/run_failure.h"
#include "purge/sql_identifier.h"

namespace sorvane {
namespace {

TEST(SqlIdentifier, AcceptsPlainAndQuotedNamesOfUpToThreeParts) {
    const char* accepted[] = {
        "SystemEvents", "_log", "log$2", "Syslog.SystemEvents", "db.dbo.SystemEvents",
        "\"System Events\"", "[System Events]", "`System Events`", "\"a;b\".SystemEvents",
        "[it's]", "x",
    };
    for (const char* name : accepted) EXPECT_TRUE(IsSqlIdentifier(name)) << name;
}

TEST(SqlIdentifier, RefusesEverythingElseIncludingInjections) {
    const std::string refused[] = {
        "",
        "1events",
        "System Events",
        "a.b.c.d",
        "a.",
        ".a",
        "a..b",
        "\"\"",
        "\"open",
        "[a]]",
        "`a`b`",
        "\"a\"b",
        "SystemEvents; DROP TABLE SystemEvents",
        "SystemEvents WHERE 1=1 --",
        "SystemEvents/**/",
        "x'y",
        "Événements",
        std::string("a\0b", 3),
        std::string("\"a\0b\"", 5),
    };
    for (const auto& name : refused) EXPECT_FALSE(IsSqlIdentifier(name)) << name;
}

TEST(SqlIdentifier, RefusalIsAnInvalidArgumentNamingTheText) {
    try {
        CheckTableName("x; DELETE FROM y");
        FAIL() << "no refusal";
    } catch (const RunFailure& failure) {
        EXPECT_EQ(failure.Number(), kInvalidArgument);
        EXPECT_NE(failure.Description().find("x; DELETE FROM y"), std::string::npos);
        EXPECT_NE(failure.Description().find("table name"), std::string::npos);
    }
    EXPECT_THROW(CheckTimeColumnName("ReceivedAt OR 1=1"), RunFailure);
    EXPECT_NO_THROW(CheckTimeColumnName("DeviceReportedTime"));
}

}  // namespace
}  // namespace sorvane
