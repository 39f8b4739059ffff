#include "odbc/connection.h"

#include <sqlext.h>

#include <utility>

#include "odbc/diagnostics.h"
#include "common/run_failure.h"

namespace sorvane::odbc {

Environment::Environment() {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle_))) {
        handle_ = SQL_NULL_HENV;
        throw RunFailure(0, "Cannot set up the ODBC environment (is unixODBC installed?)");
    }
    const SQLRETURN result =
        SQLSetEnvAttr(handle_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(result)) {
        SQLFreeHandle(SQL_HANDLE_ENV, handle_);
        handle_ = SQL_NULL_HENV;
        throw RunFailure(0, "Cannot declare ODBC 3 behaviour to the driver manager");
    }
}

Environment::~Environment() {
    if (handle_ != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, handle_);
}

Environment::Environment(Environment&& other) noexcept
    : handle_(std::exchange(other.handle_, static_cast<SQLHENV>(SQL_NULL_HENV))) {}

Environment& Environment::operator=(Environment&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
}

Connection::Connection(const std::string& connectionText) {
    Check(SQLAllocHandle(SQL_HANDLE_DBC, environment_.Handle(), &handle_), SQL_HANDLE_ENV,
          environment_.Handle(), "Allocating a connection");
    try {
        // Not every driver lets the login or connection time limit be
        // switched off. A refusal leaves the driver's own limit, under which
        // a login that hangs ends with the driver's failure instead.
        SQLSetConnectAttr(handle_, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(0), 0);
        SQLSetConnectAttr(handle_, SQL_ATTR_CONNECTION_TIMEOUT, reinterpret_cast<SQLPOINTER>(0), 0);
        SQLCHAR completed[1024];
        SQLSMALLINT completedLength = 0;
        Check(SQLDriverConnect(handle_, nullptr,
                               reinterpret_cast<SQLCHAR*>(const_cast<char*>(connectionText.c_str())),
                               SQL_NTS, completed, sizeof completed, &completedLength,
                               SQL_DRIVER_NOPROMPT),
              SQL_HANDLE_DBC, handle_, "Connecting to the data source");
        connected_ = true;
        dialect_ = Dialect::ForDbmsName(DbmsName());
    } catch (...) {
        if (connected_) SQLDisconnect(handle_);
        SQLFreeHandle(SQL_HANDLE_DBC, handle_);
        throw;
    }
}

Connection::~Connection() { Close(); }

Connection::Connection(Connection&& other) noexcept
    : environment_(std::move(other.environment_)),
      handle_(std::exchange(other.handle_, static_cast<SQLHDBC>(SQL_NULL_HDBC))),
      connected_(std::exchange(other.connected_, false)),
      inTransactions_(std::exchange(other.inTransactions_, false)),
      dialect_(other.dialect_) {}

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        Close();
        // The environment last: the old connection's goes with other.
        handle_ = std::exchange(other.handle_, static_cast<SQLHDBC>(SQL_NULL_HDBC));
        connected_ = std::exchange(other.connected_, false);
        inTransactions_ = std::exchange(other.inTransactions_, false);
        dialect_ = other.dialect_;
        environment_ = std::move(other.environment_);
    }
    return *this;
}

void Connection::Close() noexcept {
    if (handle_ == SQL_NULL_HDBC) return;
    // A connection with an open transaction refuses to disconnect.
    if (connected_ && inTransactions_) SQLEndTran(SQL_HANDLE_DBC, handle_, SQL_ROLLBACK);
    if (connected_) SQLDisconnect(handle_);
    SQLFreeHandle(SQL_HANDLE_DBC, handle_);
    handle_ = SQL_NULL_HDBC;
    connected_ = false;
    inTransactions_ = false;
}

std::string Connection::DbmsName() const {
    SQLCHAR name[256] = {0};
    SQLSMALLINT length = 0;
    Check(SQLGetInfo(handle_, SQL_DBMS_NAME, name, sizeof name, &length), SQL_HANDLE_DBC, handle_,
          "Asking for the database system's name");
    return reinterpret_cast<const char*>(name);
}

void Connection::BeginTransactions() {
    Check(SQLSetConnectAttr(handle_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
          SQL_HANDLE_DBC, handle_, "Switching off automatic commits");
    inTransactions_ = true;
}

void Connection::Commit() { EndTransaction(SQL_COMMIT, "Committing"); }

void Connection::Rollback() { EndTransaction(SQL_ROLLBACK, "Rolling back"); }

void Connection::EndTransaction(SQLSMALLINT completion, const char* context) {
    Check(SQLEndTran(SQL_HANDLE_DBC, handle_, completion), SQL_HANDLE_DBC, handle_, context);
}

}  // namespace sorvane::odbc
