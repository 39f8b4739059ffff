# Writes the package's copyright file in Debian's machine-readable format
# from the project's LICENSE: its holder line as Copyright, its text after
# that line indented by one space, empty lines as " .".
#   cmake -DLICENSE=LICENSE -DCOPYRIGHT=copyright -P debian-copyright.cmake
file(READ ${LICENSE} license)
if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)\n\n(.+[^\n])\n*$")
  message(FATAL_ERROR "${LICENSE} has no 'Copyright (c) ...' line followed by the licence text")
endif()
set(holder "${CMAKE_MATCH_1}")
set(body "${CMAKE_MATCH_2}")
string(REPLACE "\n\n" "\n.\n" body "${body}")
string(REPLACE "\n" "\n " body "${body}")
file(WRITE ${COPYRIGHT}
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: sorvane\n\n"
  "Files: *\nCopyright: ${holder}\nLicense: Expat\n ${body}\n")
