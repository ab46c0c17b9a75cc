#!/usr/bin/env python3
"""Accepts presence reports on a free local port: prints the port, then appends each report's
bytes, escaped, as one line to the file named by the first argument."""
import socket
import sys

server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
server.bind(("127.0.0.1", 0))
server.listen(4)
print(server.getsockname()[1], flush=True)
with open(sys.argv[1], "a", encoding="ascii") as log:
    while True:
        connection, _ = server.accept()
        with connection:
            connection.settimeout(5)
            data = b""
            try:
                while chunk := connection.recv(4096):
                    data += chunk
            except OSError:
                pass
        log.write(repr(data) + "\n")
        log.flush()
