#!/usr/bin/env python3
"""Rows of make bench for velkora-cli serve, as "measure|figure|baseline|ratio|goal|met":
throughput of one and of 50 concurrent downloads against cat of the same
file read by the same reader, the first byte's latency, memory per connection.
Arguments: velkora-cli work-folder setup-MiB"""
import os
import re
import shutil
import socket
import statistics
import subprocess
import sys
import threading
import time

cli, work, mib = os.path.abspath(sys.argv[1]), sys.argv[2], int(sys.argv[3])
shutil.rmtree(work, ignore_errors=True)
os.makedirs(work)
setup = os.path.join(work, "Setup.sh")
with open(setup, "wb") as f:
    for _ in range(mib):
        f.write(os.urandom(1 << 20))


def cli_run(*args):
    subprocess.run([cli, *args], cwd=work, check=True, capture_output=True)


cli_run("new", "p.vkp", "--title", "B", "--version", "1", "--website", "https://v.example",
        "--setup-file", "Setup.sh", "--output-dir", "out", "--service", "RegNow", "--product-id", "1")
cli_run("add-affiliate", "p.vkp", "--name", "Ann", "--affiliate-id", "7")
log = open(os.path.join(work, "server.log"), "w+")
server = subprocess.Popen([cli, "serve", "p.vkp", "--listen", "127.0.0.1:0", "--threads", "2"],
                          cwd=work, stdout=log, stderr=subprocess.STDOUT)
port = None
for _ in range(200):
    with open(log.name) as f:
        m = re.search(r"on 127\.0\.0\.1:(\d+)", f.read())
    if m:
        port = int(m.group(1))
        break
    time.sleep(0.05)


def drain(read):
    total = 0
    while True:
        n = read()
        if not n:
            return total
        total += n


def download():
    with socket.create_connection(("127.0.0.1", port)) as s:
        s.sendall(b"GET /setup/7 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")
        buffer = bytearray(1 << 20)
        return drain(lambda: s.recv_into(buffer))


def cat():
    with subprocess.Popen(["cat", setup], stdout=subprocess.PIPE, bufsize=0) as p:
        buffer = bytearray(1 << 20)
        return drain(lambda: p.stdout.readinto(buffer))


def throughput(job, count):
    threads = [threading.Thread(target=job) for _ in range(count)]
    start = time.monotonic()
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    return count * mib / (time.monotonic() - start)


def first_byte():
    start = time.monotonic()
    with socket.create_connection(("127.0.0.1", port)) as s:
        s.sendall(b"GET /setup/7 HTTP/1.1\r\nHost: x\r\nRange: bytes=0-0\r\nConnection: close\r\n\r\n")
        s.recv(1)
        return time.monotonic() - start


def memory(field):
    with open(f"/proc/{server.pid}/status") as f:
        return int(re.search(field + r":\s+(\d+)", f.read()).group(1))


def row(measure, figure, baseline, ratio, goal, met):
    print("|".join([measure, figure, baseline, ratio, goal, met]))


try:
    download()  # the setup's pages in memory for both sides
    cat()
    for count in (1, 50):
        # Rounds alternate, so both sides meet the same load; medians.
        rounds = [(throughput(download, count), throughput(cat, count)) for _ in range(3)]
        served = statistics.median(r[0] for r in rounds)
        plain = statistics.median(r[1] for r in rounds)
        r = served / plain
        row(f"serve: {count} download(s) of {mib} MiB at once", f"{served:.0f} MiB/s",
            f"cat {plain:.0f} MiB/s", f"{r:.2f}x", ">= 0.8x", "yes" if r >= 0.8 else "NO")
    latency = statistics.median(first_byte() for _ in range(21))
    row("serve: first byte of a setup (median of 21)", f"{latency * 1000:.2f} ms", "-", "-", "-", "-")
    idle = memory("VmRSS")
    held = []
    for _ in range(200):
        s = socket.create_connection(("127.0.0.1", port))
        s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
        s.sendall(b"GET /setup/7 HTTP/1.1\r\nHost: x\r\n\r\n")
        held.append(s)
    time.sleep(1)
    busy = memory("VmRSS")
    per = (busy - idle) / 200
    row("serve: memory per stalled download (200 held)", f"{per:.1f} KiB", f"idle {idle / 1024:.1f} MiB",
        "-", "-", "-")
    for s in held:
        s.close()
finally:
    server.terminate()
    server.wait(60)
