"""Shared steps of the serve tests: a project of the test's own, the server
started on a free loopback port, raw and plain HTTP requests, bounded waits."""
import hashlib
import json
import os
import re
import socket
import subprocess
import sys
import time

failures = []
passes = []


def check(condition, what):
    print(("ok: " if condition else "FAIL: ") + what, flush=True)
    (passes if condition else failures).append(what)


def finish():
    print(f"serve: {len(passes)} passed, {len(failures)} failed")
    sys.exit(1 if failures else 0)


def run(cli, *args, cwd):
    result = subprocess.run([cli, *args], cwd=cwd, capture_output=True, text=True, timeout=120)
    if result.returncode != 0:
        raise RuntimeError(f"{args[0]}: {result.stdout}{result.stderr}")
    return result.stdout


def make_project(cli, work, setup_bytes, affiliates):
    """affiliates: (name, affiliate ID) pairs; returns the built files by key."""
    os.makedirs(work, exist_ok=True)
    # A setup is a program the launcher can start: here a script.
    with open(os.path.join(work, "Setup.sh"), "wb") as f:
        f.write(b"#!/bin/sh\n" + setup_bytes)
    run(cli, "new", "p.vkp", "--title", "Demo", "--version", "1.0", "--website",
        "https://vendor.example", "--setup-file", "Setup.sh", "--output-dir", "out",
        "--service", "RegNow", "--product-id", "1234", cwd=work)
    for name, aid in affiliates:
        run(cli, "add-affiliate", "p.vkp", "--name", name, "--affiliate-id", aid,
            "--website", f"https://{name.lower()}.example", cwd=work)
    return build(cli, work)


def build(cli, work):
    run(cli, "build", "p.vkp", "--quiet", cwd=work)
    files = {}
    for affiliate in json.loads(run(cli, "show", "p.vkp", "--json", cwd=work))["affiliates"]:
        with open(os.path.join(work, affiliate["setupPath"]), "rb") as f:
            files[affiliate["key"]] = (os.path.basename(affiliate["setupPath"]), f.read())
    return files


class Server:
    def __init__(self, cli, work, *extra):
        self.out = open(os.path.join(work, f"server-{time.monotonic_ns()}.log"), "w+")
        self.proc = subprocess.Popen([cli, "serve", "p.vkp", "--listen", "127.0.0.1:0", *extra],
                                     cwd=work, stdout=self.out, stderr=subprocess.STDOUT)
        self.port = None
        deadline = time.monotonic() + 20
        while self.port is None and time.monotonic() < deadline:
            m = re.search(r"^Serving .* on 127\.0\.0\.1:(\d+)$", self.log(), re.M)
            if m:
                self.port = int(m.group(1))
            elif self.proc.poll() is not None:
                break
            else:
                time.sleep(0.05)
        if self.port is None:
            raise RuntimeError("the server did not start: " + self.log())

    def log(self):
        self.out.flush()
        with open(self.out.name) as f:
            return f.read()

    def peak_memory_kib(self):
        with open(f"/proc/{self.proc.pid}/status") as f:
            return int(re.search(r"VmHWM:\s+(\d+)", f.read()).group(1))

    def stop(self, timeout=60):
        if self.proc.poll() is None:
            self.proc.terminate()
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
            return None


def raw(port, request, read_limit=1 << 20, timeout=10):
    """Sends request bytes as they are; returns (status, headers dict, body)."""
    with socket.create_connection(("127.0.0.1", port), timeout=timeout) as s:
        s.sendall(request)
        data = b""
        while len(data) < read_limit:
            try:
                chunk = s.recv(65536)
            except (ConnectionResetError, socket.timeout):
                break
            if not chunk:
                break
            data += chunk
            head, sep, body = data.partition(b"\r\n\r\n")
            if sep:
                m = re.search(rb"\r\ncontent-length: *(\d+)", head, re.I)
                no_body = request.startswith(b"HEAD") or b" 304 " in head.split(b"\r\n")[0]
                if no_body or (m and len(body) >= int(m.group(1))):
                    break
    head, _, body = data.partition(b"\r\n\r\n")
    lines = head.decode("latin-1").split("\r\n")
    status = int(lines[0].split()[1]) if lines and len(lines[0].split()) > 1 else 0
    headers = {}
    for line in lines[1:]:
        name, _, value = line.partition(":")
        headers[name.strip().lower()] = value.strip()
    return status, headers, body


def get(port, path, headers=(), method="GET"):
    text = f"{method} {path} HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
    text += "".join(f"{h}\r\n" for h in headers)
    return raw(port, (text + "\r\n").encode("latin-1"), read_limit=1 << 30)


def sha(data):
    return hashlib.sha256(data).hexdigest()
