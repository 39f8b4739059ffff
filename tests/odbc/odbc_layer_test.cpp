// The ODBC layer on SQLite: handles that moved keep working, parameters go by
// position, and a driver failure carries its SQLSTATE as data.

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace sorvane
