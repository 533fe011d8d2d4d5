#!/usr/bin/env bash
# The installed velkora.exe opens a project given on its command line: its
# main window, titled after the project file, appears on a virtual X server.
# The project is made by the installed velkora-cli.exe. Run alone (RUN_SERIAL):
# the prefix's services, started without a display, are ended so that
# velkora.exe starts them on this display, and started again at the end.
# Arguments: prefix install-folder work-folder
set -uo pipefail
prefix=$1 folder=$2 work=$3
source "$(dirname "$0")/msi-common.sh"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
pids=()
restart_services() {
  $wineserver -k 2>/dev/null
  $wineserver -w
  ( env -u DISPLAY $wineserver -p >/dev/null 2>&1 & )
  env -u DISPLAY $wine cmd /c exit </dev/null >/dev/null 2>&1
}
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  restart_services
}

rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
project="Z:$(realpath . | tr / '\\')\\p.vkp"
$wine "$folder/velkora-cli.exe" new "$project" --title Demo --version 1.0 \
  --website https://demo.example --setup-file Setup.exe --output-dir out --service RegNow \
  --product-id 1234 </dev/null >cli.log 2>&1 || { fail "velkora-cli.exe new: $(cat cli.log)"; finish; }

trap cleanup EXIT
$wineserver -k 2>/dev/null
$wineserver -w
Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >display.txt 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s display.txt ] && break; sleep 0.1; done
[ -s display.txt ] || { fail "no virtual X server"; finish; }
export DISPLAY=:$(head -1 display.txt)
openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xdotool get_num_desktops >/dev/null 2>&1 && break; sleep 0.1; done

$wine "$folder/velkora.exe" "$project" </dev/null >wine.log 2>&1 &
pids+=($!)
main=""
for _ in $(seq 300); do # bounded: 30 seconds
  main=$(xdotool search --onlyvisible --name '^p.vkp - Velkora$' 2>/dev/null | head -1)
  [ -n "$main" ] && break
  sleep 0.1
done
expect "the installed velkora.exe's main window" "p.vkp - Velkora" \
  "$([ -n "$main" ] && xdotool getwindowname "$main")"
finish
