# Sourced by the tests that drive Windows programs' windows under wine64: a
# virtual X server and window manager of the test's own, the prefix's
# services restarted on that display and back at the end, and the helpers
# that find windows and press keys. Needs: prefix, work (a fresh folder is
# made and entered); sets pids, failures and fail.
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pids=()
# The prefix's services were started without a display (wine-prefix.sh), and a
# window of theirs would never reach this test's X server: the test (run
# alone) ends them, lets its own program start them on its display, and at
# the end starts them again as the other tests expect them.
restart_services() {
  $wineserver -k 2>/dev/null
  $wineserver -w
  ( env -u DISPLAY $wineserver -p >/dev/null 2>&1 & )
  env -u DISPLAY $wine cmd /c exit </dev/null >/dev/null 2>&1
}
# Ended last started first: the window manager before its X server.
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  restart_services
}
trap cleanup EXIT
$wineserver -k 2>/dev/null
$wineserver -w

rm -rf "$work" && mkdir -p "$work"
cd "$work" || exit 1
# A display of its own: the server picks a free number and reports it.
Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >display.txt 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s display.txt ] && break; sleep 0.1; done
[ -s display.txt ] || { echo "FAIL: no virtual X server"; exit 1; }
export DISPLAY=:$(head -1 display.txt)
openbox >/dev/null 2>&1 &
pids+=($!)
# Windows are activated through the window manager: wait until it runs.
for _ in $(seq 100); do xdotool get_num_desktops >/dev/null 2>&1 && break; sleep 0.1; done

# Waits (bounded, so a missing window fails instead of hanging) for a visible
# window whose title matches, and prints its id. Polled: a search can fail
# on its own while windows come and go.
window() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
}
gone() { # gone TITLE: waits until no visible window has the title
  for _ in $(seq 300); do
    [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  return 1
}
keys() { # keys WINDOW KEY...: activates the window, then presses the keys
  xdotool windowactivate --sync "$1" >/dev/null 2>&1
  shift
  xdotool key --clearmodifiers "$@"
}
typed() { # typed TEXT: types into the focused control, any language
  xdotool type --clearmodifiers --delay 20 -- "$1"
}
