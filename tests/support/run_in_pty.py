#!/usr/bin/env python3
"""Runs a program with a pseudo-terminal as its standard output and error and
writes everything it showed there to standard output, byte for byte; the exit
status is the program's (128 + N when signal N ended it).
Usage: run_in_pty.py PROGRAM [ARGUMENT...]"""
import os
import pty
import sys

pid, terminal = pty.fork()
if pid == 0:
    os.execv(sys.argv[1], sys.argv[1:])
shown = bytearray()
while True:
    try:
        chunk = os.read(terminal, 65536)
    except OSError:  # EIO: the program closed the terminal's last end
        break
    if not chunk:
        break
    shown += chunk
_, status = os.waitpid(pid, 0)
sys.stdout.buffer.write(bytes(shown))
sys.exit(os.waitstatus_to_exitcode(status) if os.WIFEXITED(status) else 128 + os.WTERMSIG(status))
