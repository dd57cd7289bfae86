#!/usr/bin/env python3
"""Between the program and the test's PostgreSQL cluster, on 127.0.0.1: passes
every byte on until the first piece that holds the mark (from the program or
from the server), then, once, either cuts that connection without passing the
piece on ("trennen": the request never arrives, or the commit's answer is
lost), or lets it fall silent for good ("schweigen": a server that never
answers). Prints its port, then serves until it is killed.
    pgproxy.py <cluster port> <mark from the program, hex> <mark from the server, hex> trennen|schweigen"""
import socket
import sys
import threading

ziel, tat = int(sys.argv[1]), sys.argv[4]
marken = (bytes.fromhex(sys.argv[2]), bytes.fromhex(sys.argv[3]))
einmal = threading.Lock()


def leite(programm):
    server = socket.create_connection(("127.0.0.1", ziel))
    still = [False]

    def richtung(von, nach, marke):
        while True:
            try:
                stueck = von.recv(65536)
            except OSError:
                stueck = b""
            if stueck and marke and marke in stueck and einmal.acquire(blocking=False):
                still[0] = True
                if tat == "trennen":
                    stueck = b""
            if not stueck:
                for s in (von, nach):
                    try:
                        s.shutdown(socket.SHUT_RDWR)
                    except OSError:
                        pass
                return
            try:
                if not still[0]:
                    nach.sendall(stueck)
            except OSError:
                return

    threading.Thread(target=richtung, args=(server, programm, marken[1]), daemon=True).start()
    richtung(programm, server, marken[0])


lauscher = socket.create_server(("127.0.0.1", 0))
print(lauscher.getsockname()[1], flush=True)
while True:
    verbindung, _ = lauscher.accept()
    threading.Thread(target=leite, args=(verbindung,), daemon=True).start()
