"""A data server that answers slowly, for the update test: to every request
the headers of a 1000-byte body, then one byte of it every quarter second,
answering one request at a time.

Prints "slow server on port N" once it listens, each request's first line,
and "sent N" after the Nth body byte of an answer.
"""
import socket
import time

listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen()
print("slow server on port", listener.getsockname()[1], flush=True)
while True:
    conn, _ = listener.accept()
    print(conn.recv(65536).split(b"\r\n")[0].decode(), flush=True)
    try:
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n")
        for sent in range(1, 1001):
            time.sleep(0.25)
            conn.sendall(b"x")
            print("sent", sent, flush=True)
    except OSError:
        pass
    conn.close()
