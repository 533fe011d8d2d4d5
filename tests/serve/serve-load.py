#!/usr/bin/env python3
"""Load on the loopback with a setup of 8 MiB: 20 and then 200 concurrent
clients reading slowly get correct bytes, the server's peak memory with 200
stays within 1.5x of its peak with 20, a stalled client blocks nobody, and
SIGTERM during downloads lets them finish and ends cleanly.
Arguments: velkora-cli work-folder"""
import hashlib
import os
import shutil
import socket
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from serve_support import Server, check, finish, make_project  # noqa

cli, work = os.path.abspath(sys.argv[1]), sys.argv[2]
shutil.rmtree(work, ignore_errors=True)
files = make_project(cli, work, os.urandom(8 << 20), [(f"A{i}", str(100 + i)) for i in range(5)])
wanted = {key: hashlib.sha256(data).hexdigest() for key, (_, data) in files.items()}
keys = sorted(files)


def download(port, key, results, index, pause=0.01):
    """Reads the body in 256 KiB pieces with a pause between them."""
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=60) as s:
            s.sendall(f"GET /setup/key/{key} HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n".encode())
            data = b""
            while True:
                chunk = s.recv(256 * 1024)
                if not chunk:
                    break
                data += chunk
                time.sleep(pause)
        body = data.partition(b"\r\n\r\n")[2]
        results[index] = hashlib.sha256(body).hexdigest() == wanted[key]
    except OSError:
        results[index] = False


def crowd(port, count, pause=0.01):
    results = [None] * count
    threads = [threading.Thread(target=download, args=(port, keys[i % len(keys)], results, i, pause))
               for i in range(count)]
    for t in threads:
        t.start()
    return threads, results


def peak_with(count):
    server = Server(cli, work, "--threads", "2", "--timeout", "30")
    threads, results = crowd(server.port, count)
    for t in threads:
        t.join(120)
    peak = server.peak_memory_kib()
    check(all(results), f"{count} slow clients at once: every body correct ({sum(map(bool, results))})")
    check(server.stop() == 0, f"after {count} clients the server ends cleanly")
    return peak


peak20 = peak_with(20)
peak200 = peak_with(200)
print(f"peak memory: {peak20} KiB with 20 clients, {peak200} KiB with 200")
check(peak200 <= 1.5 * peak20, "peak memory with 200 clients within 1.5x of 20")

# A client that asks and never reads blocks nobody.
server = Server(cli, work, "--threads", "1", "--timeout", "30")
stalled = socket.socket()
stalled.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
stalled.connect(("127.0.0.1", server.port))
stalled.sendall(f"GET /setup/key/{keys[0]} HTTP/1.1\r\nHost: x\r\n\r\n".encode())
time.sleep(0.3)
start = time.monotonic()
threads, results = crowd(server.port, 5, pause=0)
for t in threads:
    t.join(60)
check(all(results) and time.monotonic() - start < 30, "a stalled client blocks no other download")
stalled.close()

# SIGTERM during downloads: they finish whole, then the server ends.
threads, results = crowd(server.port, 10, pause=0.05)
time.sleep(0.5)
server.proc.terminate()
time.sleep(0.3)
try:
    socket.create_connection(("127.0.0.1", server.port), timeout=2).close()
    refused = False
except OSError:
    refused = True
check(refused, "after SIGTERM no new connection is taken")
for t in threads:
    t.join(60)
check(all(results), "downloads running at SIGTERM finish with correct bytes")
check(server.stop(60) == 0 and "Stopped." in server.log(), "the server ends cleanly after them")
finish()
