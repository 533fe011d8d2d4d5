#!/usr/bin/env bash
# Under wine64: when both the machine-wide and the user's registry key of a
# product hold a link, velklink.dll hands out the one written last (the
# key's last-write time), whichever of the two stores holds it.
# Arguments: prefix velklink.dll LinkProbe.exe work-folder
set -uo pipefail
prefix=$1 dll=$2 probe=$3 work=$4
export WINEPREFIX=$prefix WINEDEBUG=err+module WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
failures=0
expect() { # expect WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1: expected [$2], got [$3]"
    failures=$((failures + 1))
  else
    echo "ok: $1"
  fi
}
store() { # store HIVE UUID LINK: as the launcher does, in the 32-bit view
  $wine reg add "$1\\Software\\Velkora\\$2" /v PurchaseLink /t REG_SZ /d "$3" /f /reg:32 \
    >/dev/null 2>&1 || expect "reg add $1 $2" 0 $?
}
# The probe prints "<result> <size> <link>".
probe() { (cd "$work" && $wine LinkProbe.exe "$1" 4096 | tr -d '\r'); }
answer() { echo "0 $((${#1} + 1)) $1"; }

rm -rf "$work" && mkdir -p "$work"
cp "$dll" "$probe" "$work/"
machine=https://buy.example.com/machine
user=https://buy.example.com/user

# Machine-wide first, then the user's: the user's is newer.
uuid=0F1E2D3C-0000-4000-8000-00000000A001
store HKLM $uuid $machine
store HKCU $uuid $user
expect "the user's link written last" "$(answer $user)" "$(probe $uuid)"
# A later run with administrator rights writes the machine-wide key again
# (rewriting the same bytes: tests/platform/RegistryStoreTest.cpp).
store HKLM $uuid $machine/2
expect "the machine-wide link written last" "$(answer $machine/2)" "$(probe $uuid)"

# The other order from the start, with a lower-case key on reading.
uuid=0F1E2D3C-0000-4000-8000-00000000A002
store HKCU $uuid $user
store HKLM $uuid $machine
expect "machine-wide after the user's" "$(answer $machine)" "$(probe "${uuid,,}")"

# Only the user's key holds a link; the machine-wide key exists without one.
uuid=0F1E2D3C-0000-4000-8000-00000000A003
$wine reg add "HKLM\\Software\\Velkora\\$uuid" /v Other /d x /f /reg:32 >/dev/null 2>&1
store HKCU $uuid $user
expect "a key without a link hides nothing" "$(answer $user)" "$(probe $uuid)"

# A newer key whose value is not a string the launcher wrote (no terminator)
# does not win over a well-formed older link.
uuid=0F1E2D3C-0000-4000-8000-00000000A004
store HKLM $uuid $machine
$wine reg add "HKCU\\Software\\Velkora\\$uuid" /v PurchaseLink /t REG_BINARY /d 6869 /f /reg:32 \
  >/dev/null 2>&1
expect "a malformed newer value" "$(answer $machine)" "$(probe $uuid)"

for n in 1 2 3 4; do
  for hive in HKLM HKCU; do
    $wine reg delete "$hive\\Software\\Velkora\\0F1E2D3C-0000-4000-8000-00000000A00$n" /f /reg:32 \
      >/dev/null 2>&1
  done
done
[ "$failures" -eq 0 ] && echo "all passed" || echo "$failures failure(s)"
exit $((failures > 0))
