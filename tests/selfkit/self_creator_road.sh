#!/usr/bin/env bash
# The self creator as it reaches an affiliate, written by velkora-cli:
#   needed   - it asks the dynamic loader only for libraries every X11 desktop has
#   paths    - no path of the vendor's source or build folder travels inside it
#   scripted - built without a window from the command line, the package it
#              writes runs and the product reads the link back; its mistakes
#              and a missing display are reported, never a crash
# Usage: self_creator_road.sh MODE VELKORA_CLI VELKLINK_DEMO SOURCE_DIR BUILD_DIR
set -u
mode=$1
cli=$(realpath "$2")
demo=$(realpath "$3")
source_dir=$(realpath "$4")
build_dir=$(realpath "$5")
work=$(mktemp -d "${TMPDIR:-/tmp}/self-creator-road-XXXXXX")
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work/tmp" VELKORA_STORE_DIR="$work/store" VELKORA_USER_STORE_DIR="$work/user-store"
mkdir -p "$TMPDIR" "$VELKORA_STORE_DIR" "$VELKORA_USER_STORE_DIR"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_eq() { [ "$1" == "$2" ] || fail "$3: expected [$2], got [$1]"; }

# Waits up to 10 s for a file the started programs write.
wait_for() {
  for _ in $(seq 100); do [ -s "$1" ] && return 0; sleep 0.1; done
  return 1
}

cd "$work"
printf '#!/bin/sh\necho "ran with: $*" >> "%s/setup-ran"\n' "$work" > vendor-setup.sh
chmod +x vendor-setup.sh
"$cli" new demo.vkp --title Demo --version 1.0 --website https://demo.example \
  --setup-file vendor-setup.sh --output-dir out --service RegNow --product-id 4711 >/dev/null ||
  fail "new"
"$cli" build-self-creator demo.vkp >/dev/null || fail "build-self-creator"
creator=$work/out/VelkSMNG
[ -x "$creator" ] || { fail "no self creator written"; exit 1; }

case $mode in
needed)
  allowed='^(libc|libm|libdl|libpthread|librt|ld-linux-x86-64|ld-linux-aarch64|ld-linux|libX11|libXext|libXft|libXrender|libXfixes|libXcursor|libXinerama|libxcb|libXau|libXdmcp|libfontconfig|libfreetype)\.so(\.[0-9]+)*$'
  needed=$(readelf -d "$creator" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
  [ -n "$needed" ] || fail "readelf lists no library at all"
  for lib in $needed; do
    [[ $lib =~ $allowed ]] || fail "needs $lib, which an affiliate's desktop may not have"
  done
  echo "needed: $(echo $needed)"
  # Symbol versions of the C library beyond what the README promises (2.35,
  # Debian 12's own: the static C++ runtime of its compiler asks for it).
  newest=$(objdump -T "$creator" | grep -o 'GLIBC_[0-9.]*' | sort -t. -k2,2n -u | tail -n1)
  echo "newest C library symbol version: $newest"
  case $newest in GLIBC_2.3[6-9]* | GLIBC_2.[4-9]*) fail "needs $newest (README: glibc 2.35)" ;; esac
  ;;
paths)
  for dir in "$source_dir" "$build_dir"; do
    if grep -a -q -F -- "$dir" "$creator"; then
      fail "the self creator holds the path $dir: $(strings "$creator" | grep -F -- "$dir" | head -3)"
    fi
  done
  # Nothing for a debugger either: the image is stripped.
  readelf -S "$creator" | grep -q -E '\.(debug_info|symtab)' && fail "the self creator is not stripped"
  ;;
scripted)
  # Without a display the dialog cannot open: a clear message, no crash.
  env -u DISPLAY -u WAYLAND_DISPLAY "$creator" > stdout.txt 2> stderr.txt
  status=$?
  expect_eq "$status" 1 "exit status without a display"
  grep -q "cannot open the display" stderr.txt || fail "no word on the display: $(cat stderr.txt)"

  # Another user who made the creator's former fixed folder first changes
  # nothing: each run has a new private folder, gone when the run ends.
  planted="$TMPDIR/velkora-$(id -u)"
  mkdir -p "$planted" && chmod 0777 "$planted"
  [ "$(id -u)" = 0 ] && chown 4242:4242 "$planted"
  # The affiliate's build from a script.
  "$creator" --service RegNow --affiliate-id "al-1&x=1" --homepage https://alice.example \
    --output "$work/alice/setup.bin" > stdout.txt 2> stderr.txt
  expect_eq "$?" 0 "scripted build exit status"
  expect_eq "$(ls -A "$TMPDIR")" "velkora-$(id -u)" "what the run left in the temporary folder"
  rmdir "$planted"
  expect_eq "$(cat stderr.txt)" "Custom setup file has been created successfully!" "scripted message"
  [ -s stdout.txt ] && fail "the scripted build wrote to standard output: $(cat stdout.txt)"
  [ -x alice/setup.bin ] || fail "no package written"
  uuid=$("$cli" show demo.vkp --json | sed -n 's/.*"uuid": "\([^"]*\)".*/\1/p')
  alice/setup.bin --silent
  wait_for setup-ran || fail "the vendor's setup did not run"
  expect_eq "$(cat setup-ran)" "ran with: --silent" "arguments of the vendor's setup"
  expect_eq "$("$demo" "$uuid")" \
    "https://www.regnow.com/softsell/nph-softsell.cgi?affiliate=al-1%26x%3D1&item=4711" \
    "stored purchase link"

  # Mistakes: an unknown service, a missing option, an unwritable output.
  "$creator" --service ShareIt --affiliate-id a --output x.bin 2> stderr.txt
  expect_eq "$?" 1 "unknown service"
  grep -q 'no registration service named "ShareIt"' stderr.txt || fail "unknown service: $(cat stderr.txt)"
  "$creator" --affiliate-id a 2> stderr.txt
  expect_eq "$?" 1 "missing output"
  grep -q "^Usage: $(basename "$creator") --service" stderr.txt || fail "no usage after a mistake: $(cat stderr.txt)"
  "$creator" --affiliate-id a --output "$work/no-such-file/../vendor-setup.sh/x" 2> stderr.txt
  expect_eq "$?" 1 "unwritable output"
  expect_eq "$(cat stderr.txt)" \
    "Error! Can't build affiliate setup file [$work/no-such-file/../vendor-setup.sh/x]." \
    "unwritable output message"
  "$creator" --help > stdout.txt
  expect_eq "$?" 0 "--help"
  grep -q "^Usage: $(basename "$creator") --service" stdout.txt || fail "--help prints no usage"
  ;;
*)
  fail "unknown mode $mode"
  ;;
esac

echo "$failures failed"
[ "$failures" -eq 0 ]
