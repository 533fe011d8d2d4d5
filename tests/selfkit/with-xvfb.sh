#!/usr/bin/env bash
# Runs a command with DISPLAY set to a private virtual X server of its own.
# Usage: with-xvfb.sh COMMAND [ARGUMENTS...]
set -u
command -v Xvfb >/dev/null || { echo "Xvfb is not installed (scripts/setup-deps)" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/velkora-xvfb-XXXXXX")
# Xvfb picks a free display number itself and writes it to the pipe.
exec 5> >(cat > "$work/display")
Xvfb -displayfd 5 -screen 0 1280x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 5>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
if [ ! -s "$work/display" ]; then
  echo "Xvfb did not start" >&2
  cat "$work/xvfb.log" >&2
  kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
  exit 1
fi
DISPLAY=":$(head -n1 "$work/display")" "$@"
status=$?
kill "$xvfb_pid" 2>/dev/null
wait "$xvfb_pid" 2>/dev/null
rm -rf "$work"
exit "$status"
