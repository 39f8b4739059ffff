# Renders the troff manual page as the plain text that -h and the Help menu
# show: ASCII, no overstrike or escape sequences, no hyphenation, lines ended
# by CR LF as the page reader expects. Any groff warning fails the build.
#   cmake -DGROFF=... -DPAGE=sorvane.1 -DTEXT=sorvane-manpage.txt -P manual-page-text.cmake
execute_process(
  COMMAND ${GROFF} -man -Tascii -ww -P-c -P-b -P-u -rHY=0 -rLL=78n ${PAGE}
  OUTPUT_VARIABLE text
  ERROR_VARIABLE warnings
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "groff could not render ${PAGE} (${status}): ${warnings}")
endif()
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${TEXT} "${text}")
