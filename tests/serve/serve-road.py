#!/usr/bin/env python3
"""velkora-cli serve on the loopback: every affiliate's body equals the built
file, ranges equal slices (across piece borders too), HEAD equals GET, two
servers agree on the ETag, bad requests get a clear 4xx, a changed setup is
read again while a begun download keeps its bytes, SIGTERM ends cleanly.
Arguments: velkora-cli work-folder"""
import os
import shutil
import signal
import socket
import struct
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from serve_support import Server, build, check, finish, get, make_project, raw, run, sha  # noqa

cli, work = os.path.abspath(sys.argv[1]), sys.argv[2]
shutil.rmtree(work, ignore_errors=True)
setup = os.urandom(300_000)
files = make_project(cli, work, setup, [("Ann", "7"), ("Bob", "8"), ("Cy", "8"), ("Dee", "a b")])
a = Server(cli, work)
b = Server(cli, work)


def borders(package):
    """Where the pieces meet: image|info, info|setup, setup|trailer."""
    count = struct.unpack_from("<I", package, len(package) - 14)[0]
    at, offsets = len(package) - 14, []
    for _ in range(count):
        name_length = struct.unpack_from("<I", package, at - 4)[0]
        at -= 4 + name_length + 8
        offset, size = struct.unpack_from("<II", package, at)
        offsets.append((offset, size))
    offsets.reverse()
    return [offsets[0][0], offsets[1][0], offsets[1][0] + offsets[1][1]]


# Bytes: by key, by key and file name, by affiliate ID.
for key, (name, data) in sorted(files.items()):
    status, headers, body = get(a.port, f"/setup/key/{key}")
    check(status == 200 and body == data, f"key {key}: body equals the built {name}")
    check(headers.get("content-length") == str(len(data)), f"key {key}: Content-Length")
    check(f'filename="{name}"' in headers.get("content-disposition", ""),
          f"key {key}: Content-Disposition names {name}")
    status, _, body = get(a.port, f"/setup/key/{key}/{name}")
    check(status == 200 and body == data, f"key {key} with its file name")
    check(get(a.port, f"/setup/key/{key}/other.exe")[0] == 404, f"key {key}, another name: 404")
ann = files[[k for k, v in files.items() if v[0].endswith("Ann.sh")][0]][1]
check(get(a.port, "/setup/7")[2] == ann, "affiliate ID 7 is Ann's setup")
check(get(a.port, "/setup/a%20b")[0] == 200, "an encoded blank in an affiliate ID")
status, _, body = get(a.port, "/setup/8")
check(status == 409 and b"/setup/key/" in body and body.count(b"/setup/key/") == 2,
      "an ID two affiliates share: 409 listing both keys")
status, _, body = get(a.port, "/setup/999")
check(status == 404 and len(body) < 100, "an unknown affiliate: 404 with a short text")
check(get(a.port, "/healthz")[:1] == (200,), "/healthz")

# Ranges: start, middle, end and across each piece border.
size = len(ann)
image_end, info_end, setup_end = borders(ann)
ranges = [("0-99", 0, 100), (f"{size // 2}-{size // 2 + 4095}", size // 2, size // 2 + 4096),
          ("-100", size - 100, size), (f"{size - 10}-", size - 10, size),
          (f"0-{size + 50}", 0, size)]
for border in (image_end, info_end, setup_end):
    ranges.append((f"{border - 7}-{border + 7}", border - 7, border + 8))
for asked, start, stop in ranges:
    status, headers, body = get(a.port, "/setup/7", [f"Range: bytes={asked}"])
    check(status == 206 and body == ann[start:stop] and
          headers.get("content-range") == f"bytes {start}-{stop - 1}/{size}",
          f"range {asked}: 206 with the same slice")
# A resumed download gives the same bytes.
first = get(a.port, "/setup/7", ["Range: bytes=0-99999"])[2]
rest = get(a.port, "/setup/7", ["Range: bytes=100000-"])[2]
check(first + rest == ann, "a download resumed at 100000 gives the same bytes")
whole_answers = [("bytes=0-0,5-9", "two ranges"), ("bytes=" + ",".join(["0-1"] * 400), "400 ranges"),
                 ("items=0-5", "another unit"), ("bytes=9-5", "last before first"),
                 ("bytes=abc", "no numbers")]
for asked, what in whole_answers:
    status, _, body = get(a.port, "/setup/7", [f"Range: {asked}"])
    check(status == 200 and body == ann, f"Range {what}: the whole file")
for asked in (f"bytes={size}-", f"bytes={size + 5}-{size + 9}", "bytes=-0"):
    status, headers, _ = get(a.port, "/setup/7", [f"Range: {asked}"])
    check(status == 416 and headers.get("content-range") == f"bytes */{size}", f"Range {asked}: 416")
etag = get(a.port, "/setup/7", method="HEAD")[1].get("etag", "")
check(get(a.port, "/setup/7", ['If-Range: "other"', "Range: bytes=0-9"])[0] == 200,
      "If-Range of another version: the whole file")
check(get(a.port, "/setup/7", [f"If-Range: {etag}", "Range: bytes=0-9"])[0] == 206,
      "If-Range of this version: the range")

# HEAD and GET give the same headers; two servers the same ETag.
for key in files:
    h_status, head, _ = get(a.port, f"/setup/key/{key}", method="HEAD")
    g_status, got, _ = get(a.port, f"/setup/key/{key}")
    head.pop("date", None), got.pop("date", None)
    check(h_status == g_status == 200 and head == got, f"key {key}: HEAD and GET headers equal")
    check(get(b.port, f"/setup/key/{key}", method="HEAD")[1].get("etag") == got.get("etag"),
          f"key {key}: both servers give one ETag")
etags = {get(a.port, f"/setup/key/{k}", method="HEAD")[1]["etag"] for k in files}
check(len(etags) == len(files), "every affiliate's setup has its own ETag")
check(etag.startswith('"') and not etag.startswith('W/'), "the ETag is strong")
for tag, want in ((etag, 304), ("W/" + etag, 304), (f'"x", {etag}', 304), ("*", 304), ('"x"', 200)):
    check(get(a.port, "/setup/7", [f"If-None-Match: {tag}"])[0] == want, f"If-None-Match {tag}: {want}")
check("public" in get(a.port, "/setup/7", method="HEAD")[1].get("cache-control", ""),
      "Cache-Control lets caches keep a setup")

# Bad input: a clear 4xx, never a file outside what the project names.
bad = [
    (b"GET /setup/../p.vkp HTTP/1.1\r\n", {400}, "a .. segment"),
    (b"GET /setup/%2e%2e/p.vkp HTTP/1.1\r\n", {400}, "an encoded .. segment"),
    (b"GET /setup/key/0/..%2Fp.vkp HTTP/1.1\r\n", {400}, "an encoded slash"),
    (b"GET /setup/a%5Cb HTTP/1.1\r\n", {400}, "an encoded backslash"),
    (b"GET /setup/7%00 HTTP/1.1\r\n", {400}, "an encoded NUL"),
    (b"GET /setup/%zz HTTP/1.1\r\n", {400}, "a broken escape"),
    (b"GET /setup//7 HTTP/1.1\r\n", {400}, "an empty segment"),
    (b"GET /p.vkp HTTP/1.1\r\n", {404}, "the project file"),
    (b"GET /Setup.sh HTTP/1.1\r\n", {404}, "the setup file"),
    (b"GET /out/Setup_Ann.sh HTTP/1.1\r\n", {404}, "a built file"),
    (b"GET /setup/key/70000 HTTP/1.1\r\n", {404}, "a key out of range"),
    (b"GET /setup/key/-1 HTTP/1.1\r\n", {404}, "a negative key"),
    (b"GET /" + b"a" * 5000 + b" HTTP/1.1\r\n", {414}, "a path over the limit"),
    (b"GET /" + b"a" * 40000 + b" HTTP/1.1\r\n", {414}, "a path over the header memory"),
    (b"POST /setup/7 HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc", {405}, "POST"),
    (b"DELETE /setup/7 HTTP/1.1\r\n", {405}, "DELETE"),
    (b"BREW /setup/7 HTTP/1.1\r\n", {405}, "an unknown method"),
    (b"GET /setup/7 HTTP/1.1\r\nX-Big: " + b"x" * 40000 + b"\r\n", {431}, "a header over the limit"),
    (b"GET /setup/7 HTTP/1.1\r\n" + b"".join(b"X-%d: y\r\n" % i for i in range(3000)), {431},
     "too many headers"),
]
for request, statuses, what in bad:
    if not request.endswith(b"abc"):
        request += b"Host: x\r\nConnection: close\r\n\r\n"
    status, _, body = raw(a.port, request)
    check(status in statuses and len(body) < 200, f"{what}: {status}")
# The library ends the path at a raw NUL: the rest is never looked at.
status, _, body = raw(a.port, b"GET /setup/7\x00/../p.vkp HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n",
                      read_limit=1 << 30)
check(status == 400 or body == ann, f"a raw NUL: {status}, never another file")
check(get(a.port, "/healthz")[0] == 200, "the server still answers after the bad requests")
log = a.log()
check('"GET /setup/7" 200 ' in log and '"HEAD /setup/7" 200 0 ' in log, "access log lines")
check("\\x00" in log or "/setup/7\x00" not in log, "a NUL is never written to the log raw")

# A downloaded file is what verify expects of the affiliate's custom setup.
for key, (name, _) in files.items():
    with open(os.path.join(work, "out", name), "wb") as f:
        f.write(get(a.port, f"/setup/key/{key}")[2])
check(subprocess_ok := __import__("subprocess").run([cli, "verify", "p.vkp"], cwd=work,
                                                    capture_output=True).returncode == 0,
      "verify accepts the downloaded files")

# A replaced setup is read again; a download begun before keeps its bytes.
# The body (1.3 MB) is larger than what the loopback buffers for a reader
# that does not read, so most of it is sent after the change.
slow = socket.create_connection(("127.0.0.1", a.port), timeout=10)
slow.sendall(b"GET /setup/7 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")
begun = slow.recv(1000)
with open(os.path.join(work, "Setup.new"), "wb") as f:
    f.write(b"#!/bin/sh\n" + os.urandom(200_000))
os.replace(os.path.join(work, "Setup.new"), os.path.join(work, "Setup.sh"))
deadline = time.monotonic() + 15
while time.monotonic() < deadline and get(a.port, "/setup/7", method="HEAD")[1]["etag"] == etag:
    time.sleep(0.2)
new_files = build(cli, work)
new_ann = [v[1] for v in new_files.values() if v[0].endswith("Ann.sh")][0]
check(get(a.port, "/setup/7")[2] == new_ann, "the replaced setup is served after it changed")
data = begun
while True:
    chunk = slow.recv(65536)
    if not chunk:
        break
    data += chunk
slow.close()
check(data.partition(b"\r\n\r\n")[2] == ann, "the download begun before keeps the old bytes")
check(b.stop() == 0, "SIGTERM ends the second server with status 0")
run(cli, "add-affiliate", "p.vkp", "--name", "Eve", "--affiliate-id", "99", cwd=work)
a.proc.send_signal(signal.SIGHUP)
deadline = time.monotonic() + 15
while time.monotonic() < deadline and get(a.port, "/setup/99")[0] != 200:
    time.sleep(0.2)
check(get(a.port, "/setup/99")[0] == 200, "an affiliate added meanwhile is served after SIGHUP")
check(a.stop() == 0 and "Stopped." in a.log(), "SIGTERM ends the server cleanly")
finish()
