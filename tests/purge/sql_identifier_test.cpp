#include <gtest/gtest.h>

#include "purge/failure_of.h"
#include "purge/sql_identifier.h"

namespace sorvane {
namespace {

TEST(SqlIdentifier, AcceptsPlainAndQuotedNamesOfUpToThreePartsAndNothingElse) {
    for (const char* name : {"SystemEvents", "_log", "log$2", "db.dbo.SystemEvents", "\"System Events\"",
                             "[System Events]", "`System Events`", "\"a;b\".SystemEvents", "[it's]", "x"}) {
        EXPECT_TRUE(IsSqlIdentifier(name)) << name;
    }
    const std::string refused[] = {
        "", "1events", "System Events", "a.b.c.d", "a.", "a..b", "\"\"", "\"open", "[a]]", "`a`b`", "\"a\"b",
        "SystemEvents; DROP TABLE SystemEvents", "SystemEvents WHERE 1=1 --", "SystemEvents/**/", "x'y",
        "Événements", std::string("a\0b", 3), std::string("\"a\0b\"", 5),
    };
    for (const auto& name : refused) EXPECT_FALSE(IsSqlIdentifier(name)) << name;
    // A refused table name fails the run as an invalid argument (purge_run_test); so does a time column.
    EXPECT_EQ(FailureOf([] { CheckTimeColumnName("ReceivedAt OR 1=1"); }).Number(), kInvalidArgument);
    EXPECT_NO_THROW(CheckTimeColumnName("DeviceReportedTime"));
}

}  // namespace
}  // namespace sorvane
