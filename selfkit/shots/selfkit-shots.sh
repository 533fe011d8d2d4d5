#!/usr/bin/env bash
# Takes pictures of the self creator's windows on a private virtual X server:
# the main dialog filled in (selfkit-main.png), the About box
# (selfkit-about.png) and the "Building" window (selfkit-building.png).
# Usage: selfkit-shots.sh VELKORA_CLI FOLDER
set -eu
cli=$(realpath "$1")
mkdir -p "$2"
out=$(realpath "$2")
for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/setup-deps)" >&2; exit 1; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/selfkit-shots-XXXXXX")
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work TMPDIR=$work

exec 5> >(cat > "$work/display")
Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
exec 5>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

# Polls for the visible window titled $1 (30 s at most) and prints its id.
window() {
  local w
  for _ in $(seq 300); do
    for w in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
      echo "$w"
      return 0
    done
    sleep 0.1
  done
  echo "no window \"$1\"" >&2
  cat "$work/selfkit.log" >&2
  return 1
}

cd "$work"
printf '#!/bin/sh\n' > TidyNotesSetup.sh
"$cli" new p.vkp --title TidyNotes --version 2.1 --website https://tidynotes.example \
  --setup-file TidyNotesSetup.sh --output-dir . --service RegNow --product-id 10234-1 >/dev/null
"$cli" build-self-creator p.vkp >/dev/null

# The build's first step waits a minute, long enough for its picture.
VELKORA_SELFKIT_STEP_MS=60000 ./VelkSMNG.exe 2>"$work/selfkit.log" &
pids+=($!)
main=$(window "Create Your Custom Build Now!")
xdotool windowactivate --sync "$main"
xdotool key --clearmodifiers Tab
xdotool type --delay 10 "aff-2211"
xdotool key --clearmodifiers Tab
xdotool type --delay 10 "http://reviews.example"
xdotool key --clearmodifiers Tab
xdotool type --delay 10 "/home/affiliate/TidyNotes-aff-2211.exe"
import -window "$main" "$out/selfkit-main.png"

height=$(xdotool getwindowgeometry --shell "$main" | sed -n 's/^HEIGHT=//p')
xdotool mousemove --window "$main" 80 $((height - 27)) click 1
about=$(window "About selfkit")
import -window "$about" "$out/selfkit-about.png"
xdotool windowactivate --sync "$about"
xdotool key --clearmodifiers Return
for _ in $(seq 300); do
  [ -z "$(xdotool search --onlyvisible --name '^About selfkit$' 2>/dev/null)" ] && break
  sleep 0.1
done
xdotool windowactivate --sync "$main"
xdotool key --clearmodifiers Return
building=$(window "Building")
import -window "$building" "$out/selfkit-building.png"
echo "selfkit-main.png selfkit-about.png selfkit-building.png in $out"
