// A batch's transaction on SQLite: its delete stays only when committed.

#include <gtest/gtest.h>

#include "odbc/statement.h"
#include "purge/batch_transaction.h"
#include "purge/connection_text.h"
#include "support/odbc_test_env.h"

namespace sorvane {
namespace {

TEST(BatchTransaction, UndoesItsDeleteUnlessCommitted) {
    const test::TestDataSource source = test::MakeSqliteDataSource();
    test::CreateLogTable(source, "Log");
    test::InsertLogRows(source, "Log", test::LogRowsAt(1, 3, "2026-11-01 10:00:00"));
    odbc::Connection connection(BuildConnectionText(source.dsn, "", ""));
    connection.BeginTransactions();
    for (const bool commit : {false, true}) {
        SCOPED_TRACE(commit);
        {
            BatchTransaction transaction(connection);
            odbc::Statement(connection).ExecuteDirect("DELETE FROM Log WHERE id = 2");
            if (commit) transaction.Commit();
        }
        odbc::Statement count(connection);
        count.ExecuteDirect("SELECT count(*) FROM Log");
        EXPECT_EQ(count.Fetch() ? count.Text(0) : "none", commit ? "2" : "3");
    }
}

}  // namespace
}  // namespace sorvane
