// Loaded into the program (LD_PRELOAD) by run-cluster-tests to make a conflict
// certain: the first COMMIT of the run first runs the shell command in
// SORVANE_BEFORE_FIRST_COMMIT (a change made through another node to a row
// of the batch being committed), then goes on as usual.

#include <dlfcn.h>
#include <sql.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

extern "C" SQLRETURN SQL_API SQLEndTran(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT completion) {
    using EndTran = SQLRETURN(SQL_API*)(SQLSMALLINT, SQLHANDLE, SQLSMALLINT);
    static const auto next = reinterpret_cast<EndTran>(dlsym(RTLD_NEXT, "SQLEndTran"));
    static std::atomic<bool> done{false};
    const char* command = std::getenv("SORVANE_BEFORE_FIRST_COMMIT");
    if (completion == SQL_COMMIT && command != nullptr && !done.exchange(true) && std::system(command) != 0) {
        std::fputs("commit_hook: the command before the first COMMIT failed\n", stderr);
        std::abort();
    }
    return next(handleType, handle, completion);
}
