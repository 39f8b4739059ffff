# shellcheck shell=bash
# Prints a TCP port on the loopback interface that nothing listens on now.
sorvane_free_port() {
    python3 -c 'import socket
s = socket.socket()
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])
s.close()'
}
