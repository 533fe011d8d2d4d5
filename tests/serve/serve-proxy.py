#!/usr/bin/env python3
"""nginx (Debian's nginx-light) started by the test as a caching reverse
proxy in front of velkora-cli serve: the second request for a setup is
answered from nginx's cache, with the same bytes and ETag, and the server saw
one request. Exits 77 (skipped) when nginx cannot run here.
Arguments: velkora-cli work-folder"""
import os
import shutil
import socket
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from serve_support import Server, check, finish, get, make_project  # noqa

cli, work = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
nginx = shutil.which("nginx") or ("/usr/sbin/nginx" if os.path.exists("/usr/sbin/nginx") else None)
if nginx is None:
    print("SKIP: nginx is not installed (Debian package nginx-light)")
    sys.exit(77)
shutil.rmtree(work, ignore_errors=True)
files = make_project(cli, work, os.urandom(400_000), [("Ann", "7")])
name, data = next(iter(files.values()))
server = Server(cli, work)

with socket.socket() as probe:
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
cache = os.path.join(work, "cache")
os.makedirs(cache)
user = "user root;" if os.geteuid() == 0 else ""
with open(os.path.join(work, "nginx.conf"), "w") as f:
    f.write(f"""{user}
worker_processes 1;
daemon off;
pid {work}/nginx.pid;
error_log {work}/nginx-error.log;
events {{ worker_connections 64; }}
http {{
    access_log off;
    client_body_temp_path {work}/tmp-body;
    proxy_temp_path {work}/tmp-proxy;
    fastcgi_temp_path {work}/tmp-fcgi;
    uwsgi_temp_path {work}/tmp-uwsgi;
    scgi_temp_path {work}/tmp-scgi;
    proxy_cache_path {cache} levels=1:2 keys_zone=setups:1m max_size=100m inactive=1h;
    server {{
        listen 127.0.0.1:{port};
        location /setup/ {{
            proxy_pass http://127.0.0.1:{server.port};
            proxy_cache setups;
            add_header X-Cache-Status $upstream_cache_status;
        }}
    }}
}}
""")
proxy = subprocess.Popen([nginx, "-p", work, "-c", os.path.join(work, "nginx.conf")],
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
deadline = time.monotonic() + 10
up = False
while not up and time.monotonic() < deadline and proxy.poll() is None:
    try:
        socket.create_connection(("127.0.0.1", port), timeout=1).close()
        up = True
    except OSError:
        time.sleep(0.1)
if not up:
    why = proxy.stderr.read().decode(errors="replace") if proxy.poll() is not None else "no answer"
    proxy.kill()
    server.stop()
    print(f"SKIP: nginx cannot run as this user here: {why}")
    sys.exit(77)
try:
    s1, h1, b1 = get(port, "/setup/7")
    s2, h2, b2 = get(port, "/setup/7")
    check(s1 == 200 and b1 == data, "through nginx: the body equals the built file")
    check(h1.get("x-cache-status") == "MISS" and h2.get("x-cache-status") == "HIT",
          f"the second request is a cache hit ({h1.get('x-cache-status')}, {h2.get('x-cache-status')})")
    check(s2 == 200 and b2 == b1 and h2.get("etag") == h1.get("etag"),
          "the cached answer has the same bytes and ETag")
    check(server.log().count('"GET /setup/7"') == 1, "the server saw one request")
finally:
    proxy.terminate()
    proxy.wait(10)
    server.stop()
finish()
