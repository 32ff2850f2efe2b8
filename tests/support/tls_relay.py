#!/usr/bin/env python3
"""A TLS server on 127.0.0.1 at a port the system picks, for the HTTPS tests:
it ends TLS with the certificate it is given and passes the bytes both ways
to a plain loopback server (the tests' scripted server). Prints its port on
the first line, then runs until it is ended or the test that started it is gone.

Usage: tls_relay.py CERT KEY BACKEND_PORT [--old-tls]
--old-tls: speak TLS 1.0 and 1.1 only, as an outdated server does."""
import os
import socket
import ssl
import sys
import threading
import time
import warnings


def pump(source, sink):
    try:
        while True:
            data = source.recv(65536)
            if not data:
                break
            sink.sendall(data)
    except OSError:
        pass
    for s in (source, sink):
        try:
            s.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass


def serve(context, client, backend_port):
    try:
        secure = context.wrap_socket(client, server_side=True)
    except (ssl.SSLError, OSError):
        client.close()  # the client refused the handshake, as it should
        return
    backend = socket.create_connection(("127.0.0.1", backend_port))
    threading.Thread(target=pump, args=(backend, secure), daemon=True).start()
    pump(secure, backend)


def end_with_parent(parent):
    while os.getppid() == parent:
        time.sleep(0.5)
    os._exit(0)


def main():
    cert, key, backend_port = sys.argv[1], sys.argv[2], int(sys.argv[3])
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    if "--old-tls" in sys.argv[4:]:
        # The system's settings forbid these versions; an old server has them.
        warnings.simplefilter("ignore", DeprecationWarning)
        context.set_ciphers("DEFAULT:@SECLEVEL=0")
        context.minimum_version = ssl.TLSVersion.TLSv1
        context.maximum_version = ssl.TLSVersion.TLSv1_1
    listener = socket.create_server(("127.0.0.1", 0))
    print(listener.getsockname()[1], flush=True)
    threading.Thread(target=end_with_parent, args=(os.getppid(),), daemon=True).start()
    while True:
        client, _ = listener.accept()
        threading.Thread(target=serve, args=(context, client, backend_port), daemon=True).start()


main()
