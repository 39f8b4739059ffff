// The ODBC layer on SQLite: handles that moved keep working, 64-bit parameters
// go by position, and a driver failure carries its SQLSTATE as data and every
// diagnostic record on one line; and what each database system's dialect
// makes of a failure.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "purge/connection_text.h"
#include "odbc/dialect.h"
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
    const std::size_t first = prepared.AddBigIntParameter();
    const std::size_t second = prepared.AddBigIntParameter();
    odbc::Statement statement(connection);
    statement = std::move(prepared);
    statement.SetParameter(second, 7);
    statement.SetParameter(first, -9223372036854775807LL - 1);
    ASSERT_TRUE(statement.Execute() && statement.Fetch());
    EXPECT_EQ(statement.Text(0), "-9223372036854775808");
    EXPECT_EQ(statement.Text(1), "7");
    EXPECT_EQ(&statement.ParentConnection(), &connection);

    statement.CloseCursor();
    try {
        statement.ExecuteDirect("SELECT * FROM NoSuchTable");
        ADD_FAILURE() << "no failure";
    } catch (const odbc::DriverFailure& failure) {  // a lost connection's SQLSTATE: connection_pooling_test
        EXPECT_TRUE(failure.SqlState().size() == 5 && failure.Description().starts_with("[" + failure.SqlState() + "] "))
            << failure.Description();
        EXPECT_FALSE(connection.SqlDialect().IsConnectionLost(failure)) << failure.Description();
    }
}

TEST(OdbcDialect, TellsLostConnectionsAndTransactionConflictsApartPerSystem) {
    const std::tuple<const char*, const char*, long, bool, bool> cases[] = {
        // DBMS name, SQLSTATE, native error, connection lost, transaction conflict
        {"MariaDB", "08S01", 2013, true, false}, {"MariaDB", "HY000", 2006, true, false},
        {"MariaDB", "HY000", 5014, true, false}, {"MySQL", "40001", 1213, false, true},
        {"MariaDB", "HY000", 1213, false, true}, {"MariaDB", "HY000", 1205, false, true},
        {"MariaDB", "42S02", 1146, false, false}, {"PostgreSQL", "57P01", 7, true, false},
        {"PostgreSQL", "40P01", 7, false, true}, {"PostgreSQL", "40001", 7, false, true},
        {"PostgreSQL", "HY000", 2006, false, false}, {"PostgreSQL", "HY000", 1213, false, false},
        {"SQLite", "HY000", 5, false, false}, {"SQLite", "57P01", 0, false, false}, {"Oracle", "08001", 0, true, false},
    };
    for (const auto& [dbms, state, native, lost, conflict] : cases) {
        SCOPED_TRACE(::testing::Message() << dbms << " " << state << " " << native);
        const odbc::Dialect dialect = odbc::Dialect::ForDbmsName(dbms);
        const odbc::DriverFailure failure(native, state, "");
        EXPECT_EQ(dialect.IsConnectionLost(failure), lost);
        EXPECT_EQ(dialect.IsTransactionConflict(failure), conflict);
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
