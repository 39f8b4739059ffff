# Cross-building the command line for Windows x86-64 with Debian's MinGW-w64
# (package g++-mingw-w64-x86-64-posix: the POSIX thread model, which the
# run's export thread needs). Used by scripts/build-windows:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DSORVANE_WITH_GUI=OFF -DSORVANE_BUILD_TESTS=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

# Headers and libraries from the MinGW tree only; programs (groff renders the
# manual page at build time) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained sorvane.exe: the C++ runtime and the thread library are
# linked in, so that nothing but Windows' own DLLs (odbc32 among them) is
# needed beside it; stripped, as its debugging information would be of no use
# on the machines it runs on.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -s")
# CMake links an imported archive (libodbc32.a) between -Bstatic and
# -Bdynamic; ending static keeps the compiler's own libraries static too.
set(CMAKE_LINK_SEARCH_END_STATIC ON)

# The Windows headers map a plain function name to its ...A or ...W form only
# when UNICODE is defined; it stays undefined, so the plain (ANSI) names are
# called, which every ODBC driver manager exports. _POSIX_THREAD_SAFE_FUNCTIONS
# makes localtime_r and gmtime_r available; WIN32_LEAN_AND_MEAN and NOMINMAX
# keep windows.h from defining what the C++ library names.
add_compile_definitions(_POSIX_THREAD_SAFE_FUNCTIONS=200112L WIN32_LEAN_AND_MEAN NOMINMAX
                        _WIN32_WINNT=0x0601)
# Windows' ODBC headers (sql.h) use the types of windef.h without including
# it; given first to every file (it defines no function-like names, unlike
# windows.h), the ODBC layer includes them as it does on Linux.
set(CMAKE_CXX_FLAGS_INIT "-include windef.h")
