#!/bin/sh
# velkora --version and --help answer in text and never open the window: they
# run without any display at all (a window would need one and abort).
set -u
velkora=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$velkora" "$@"; }

out=$(run --version 2>&1) || fail "--version exited $?: $out"
echo "$out" | grep -q '^velkora [0-9]' || fail "--version printed: $out"
echo "$out" | grep -q 'MIT' || fail "--version names no licence"
for flag in --help -h; do
  out=$(run "$flag" 2>&1) || fail "$flag exited $?: $out"
  echo "$out" | grep -q 'FILE.vkp' || fail "$flag printed: $out"
done
out=$(run --no-such-option 2>&1)
[ $? -eq 2 ] || fail "an unknown option did not exit 2: $out"
echo "$out" | grep -q "Unknown option 'no-such-option'" || fail "unknown option said: $out"

[ "$failures" -eq 0 ] || exit 1
echo "text options passed"
