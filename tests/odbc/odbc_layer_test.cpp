// The ODBC layer on SQLite: handles that moved keep working, parameters go by
// position, and a driver failure carries its SQLSTATE as data and every
// diagnostic record on one line.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "purge/connection_text.h"
#include "odbc/diagnostics.h"
#include "odbc/statement.h"
#include "support/odbc_test_env.h"

namespace sorvane {
namespace {

TEST(OdbcLayer, MovedHandlesKeepTheirParametersAndFailuresCarryTheirSqlState) {
    const test::TestDataSource source = test::MakeSqliteDataSource();
    odbc::Connection opened(BuildConnectionText(source.dsn, "", ""));
    const odbc::Connection connection(std::move(opened));
    odbc::Statement prepared(connection);
    prepared.Prepare("SELECT ?, ?");
    const std::size_t first = prepared.AddIntegerParameter();
    const std::size_t second = prepared.AddIntegerParameter();
    odbc::Statement statement(connection);
    statement = std::move(prepared);
    statement.SetParameter(second, 7);
    statement.SetParameter(first, -2147483647 - 1);
    ASSERT_TRUE(statement.Execute() && statement.Fetch());
    EXPECT_EQ(statement.Text(0), "-2147483648");
    EXPECT_EQ(statement.Text(1), "7");
    EXPECT_EQ(&statement.ParentConnection(), &connection);

    statement.CloseCursor();
    try {
        statement.ExecuteDirect("SELECT * FROM NoSuchTable");
        ADD_FAILURE() << "no failure";
    } catch (const odbc::DriverFailure& failure) {  // a lost connection's SQLSTATE: connection_pooling_test
        EXPECT_TRUE(failure.SqlState().size() == 5 && failure.Description().starts_with("[" + failure.SqlState() + "] "))
            << failure.Description();
        EXPECT_FALSE(odbc::IsConnectionLost(failure)) << failure.Description();
    }
}

TEST(OdbcLayer, EveryDiagnosticRecordIsShownOnceOnOneLine) {
    struct Case {
        const char* name;
        std::vector<odbc::DiagnosticRecord> records;
        const char* expected;
    };
    const Case cases[] = {
        {"one record, its line breaks folded", {{"42P01", 7, "ERROR: no table;\n  Error while executing"}},
         "[42P01] ERROR: no table; Error while executing"},
        {"a server's detail after the cause", {{"40001", 1213, "Deadlock"}, {"01000", 0, "detail\r\n"}},
         "[40001] Deadlock; [01000] detail"},
        {"a repeated record left out, a zero byte shown",
         {{"HY000", 1, std::string("a\0b", 3)}, {"HY000", 1, std::string("a\0b", 3)}, {"HY001", 2, "c"}},
         "[HY000] a?b; [HY001] c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(odbc::DescribeRecords(c.records), c.expected);
    }
}

}  // namespace
}  // namespace sorvane
