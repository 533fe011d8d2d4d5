#!/usr/bin/env bash
# The Windows launcher under wine64 against damaged packages and against a
# second launcher of the same product: a damaged or truncated package ends
# with status 2 and stores and starts nothing, a bare launcher with 0; two
# launchers of one product store the link and the web site of one of them,
# never one of each (the launcher's test build holds at named points).
# Arguments: prefix setupstub.exe setupstub_hooked.exe ArgsSetup.exe work-folder
set -uo pipefail
prefix=$1 launcher=$2 hooked=$3 setup=$4 work=$5
export WINEPREFIX=$prefix WINEDEBUG=err+module WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { # expect WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then fail "$1: expected [$2], got [$3]"; else echo "ok: $1"; fi
}
winpath() { $wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# package IMAGE OUT KEY LINK SITE [CUT]: the image, an information file, the
# setup and the trailer; CUT bytes are taken off the end.
package() {
  python3 - "$@" "$setup" <<'PY'
import struct, sys
image, out, key, link, site = sys.argv[1:6]
cut = int(sys.argv[6]) if len(sys.argv) > 7 else 0
setup = open(sys.argv[-1], 'rb').read()
info = b''.join(struct.pack('<I', len(t)) + t for t in (key.encode(), link.encode(), site.encode()))
data = open(image, 'rb').read()
trailer = b''
for name, payload in ((b'_aff1.ino', info), (b'setup.exe', setup)):
    trailer += struct.pack('<II', len(data), len(payload)) + name + struct.pack('<I', len(name))
    data += payload
data += trailer + struct.pack('<I', 2) + b'!KOVA_SFX!'
open(out, 'wb').write(data[:len(data) - cut])
PY
}
run_status() { "$@" >/dev/null 2>&1; echo $?; }

rm -rf "$work" && mkdir -p "$work/pause"
cd "$work" || exit 1
export VELKORA_TEST_ARGS_FILE
VELKORA_TEST_ARGS_FILE=$(winpath "$work/args.txt")

key=5C0FFEE0-1111-4222-8333-944455556666
regkey='HKLM\Software\Velkora\'$key
package "$launcher" whole.exe "$key" https://buy/L https://site/W
package "$launcher" truncated.exe "$key" https://buy/L https://site/W 5
cp "$launcher" bare.exe

expect "bare launcher" 0 "$(run_status $wine bare.exe)"
expect "truncated package" 2 "$(run_status $wine truncated.exe)"
[ -e args.txt ] && fail "the truncated package started its setup"
$wine reg query "$regkey" /reg:32 >/dev/null 2>&1 && fail "the truncated package stored a link"
expect "whole package: the setup's status" 3 "$(run_status $wine whole.exe)"
[ -e args.txt ] || fail "the whole package did not start its setup"
$wine reg delete "$regkey" /f /reg:32 >/dev/null 2>&1

# Ann's launcher holds between its two values; Bob's must wait for the
# product's writer lock until Ann's are both in place.
package "$hooked" ann.exe "$key" https://buy/ANN https://ann.example/
package "$hooked" bob.exe "$key" https://buy/BOB https://bob.example/
export VELKORA_PAUSE_DIR
VELKORA_PAUSE_DIR=$(winpath "$work/pause")
VELKORA_PAUSE_AT=store-between-values $wine ann.exe >/dev/null 2>&1 &
ann=$!
wait_file() { # wait_file FILE PID: 0 when FILE came, 1 when PID ended first
  for _ in $(seq 1 3000); do
    [ -e "$1" ] && return 0
    kill -0 "$2" 2>/dev/null || return 1
    sleep 0.01
  done
  return 1
}
wait_file pause/store-between-values-1.reached $ann || fail "Ann's launcher did not hold"
VELKORA_PAUSE_AT=store-lock-busy $wine bob.exe >/dev/null 2>&1 &
bob=$!
wait_file pause/store-lock-busy-1.reached $bob || fail "Bob's launcher did not wait for the lock"
touch pause/store-between-values-1.go
wait $ann
expect "Ann's launcher" 3 $?
touch pause/store-lock-busy-1.go
wait $bob
expect "Bob's launcher" 3 $?
query=$($wine reg query "$regkey" /reg:32 2>/dev/null | tr -d '\r')
echo "$query" | grep -q "PurchaseLink.*REG_SZ.*https://buy/BOB" || fail "PurchaseLink: $query"
echo "$query" | grep -q "ResellerUrl.*REG_SZ.*https://bob.example/" || fail "ResellerUrl: $query"
$wine reg delete "$regkey" /f /reg:32 >/dev/null 2>&1

[ "$failures" -eq 0 ] && echo "all passed" || echo "$failures failure(s)"
exit $((failures > 0))
