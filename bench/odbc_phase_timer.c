/*
 * Where a run's time goes: preloaded into the program, this library times
 * every call of the ODBC functions a purge run uses and of write and fsync,
 * and prints calls, seconds and microseconds per call for each when the
 * program ends, beside the wall time and what is left for the program's own
 * work (and the driver manager's calls not listed).
 *
 *   LD_PRELOAD=build/bench/libodbc-phase-timer.so [PHASE_OUT=file] sorvane -dsn=...
 *
 * Not a test and not part of the program: a measuring tool for benchmarks.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <sql.h>
#include <sqlext.h>

enum { CONNECT, DISCONNECT, EXEC_DIRECT, PREPARE, EXECUTE, FETCH, GET_DATA, COL_ATTRIBUTE, WRITE, FSYNC,
       PHASES };
static const char *const names[PHASES] = {"SQLDriverConnect", "SQLDisconnect", "SQLExecDirect",
                                          "SQLPrepare", "SQLExecute", "SQLFetch", "SQLGetData",
                                          "SQLColAttribute", "write", "fsync"};
static double seconds[PHASES];
static long calls[PHASES];
static double started;

static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

__attribute__((constructor)) static void start(void) { started = now(); }

__attribute__((destructor)) static void report(void) {
    const double wall = now() - started;
    double timed = 0;
    const char *path = getenv("PHASE_OUT");
    FILE *out = path != NULL ? fopen(path, "w") : NULL;
    if (out == NULL) out = stderr;
    for (int i = 0; i < PHASES; ++i) {
        if (calls[i] == 0) continue;
        timed += seconds[i];
        fprintf(out, "%-16s %10ld calls %9.3f s %9.2f us/call\n", names[i], calls[i], seconds[i],
                seconds[i] * 1e6 / (double)calls[i]);
    }
    fprintf(out, "%-16s %27.3f s\n%-16s %27.3f s\n", "(rest)", wall - timed, "(wall)", wall);
    if (out != stderr) fclose(out);
}

/* Defines `name` to time the next definition of it (the real one). */
#define TIMED(phase, type, name, parameters, arguments)                    \
    type name parameters {                                                 \
        static type(*real) parameters;                                     \
        if (real == NULL) *(void **)(&real) = dlsym(RTLD_NEXT, #name);     \
        const double begun = now();                                        \
        const type result = real arguments;                                \
        seconds[phase] += now() - begun;                                   \
        ++calls[phase];                                                    \
        return result;                                                     \
    }

TIMED(CONNECT, SQLRETURN, SQLDriverConnect,
      (SQLHDBC dbc, SQLHWND window, SQLCHAR *in, SQLSMALLINT inLength, SQLCHAR *out,
       SQLSMALLINT outSize, SQLSMALLINT *outLength, SQLUSMALLINT completion),
      (dbc, window, in, inLength, out, outSize, outLength, completion))
TIMED(DISCONNECT, SQLRETURN, SQLDisconnect, (SQLHDBC dbc), (dbc))
TIMED(EXEC_DIRECT, SQLRETURN, SQLExecDirect, (SQLHSTMT statement, SQLCHAR *text, SQLINTEGER length),
      (statement, text, length))
TIMED(PREPARE, SQLRETURN, SQLPrepare, (SQLHSTMT statement, SQLCHAR *text, SQLINTEGER length),
      (statement, text, length))
TIMED(EXECUTE, SQLRETURN, SQLExecute, (SQLHSTMT statement), (statement))
TIMED(FETCH, SQLRETURN, SQLFetch, (SQLHSTMT statement), (statement))
TIMED(GET_DATA, SQLRETURN, SQLGetData,
      (SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT type, SQLPOINTER value, SQLLEN size,
       SQLLEN *indicator),
      (statement, column, type, value, size, indicator))
TIMED(COL_ATTRIBUTE, SQLRETURN, SQLColAttribute,
      (SQLHSTMT statement, SQLUSMALLINT column, SQLUSMALLINT field, SQLPOINTER text,
       SQLSMALLINT size, SQLSMALLINT *length, SQLLEN *number),
      (statement, column, field, text, size, length, number))
TIMED(WRITE, ssize_t, write, (int descriptor, const void *bytes, size_t count),
      (descriptor, bytes, count))
TIMED(FSYNC, int, fsync, (int descriptor), (descriptor))
