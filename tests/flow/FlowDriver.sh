# Drives the real velkora program on a private virtual X server, as a user
# would: windows are found by their titles, keys and clicks go to the focused
# window. Every wait polls its condition for a bounded time and fails the road
# when velkora has died. Sourced by the road scripts.
#
# Needs: Xvfb, openbox, xdotool, import (imagemagick), jq.

FLOW_WAIT_SECONDS=${FLOW_WAIT_SECONDS:-30} # per wait, generous for a busy machine
failures=0
flow_pid=""

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Stops the road at once: later steps make no sense after this.
abort() {
  echo "ABORT: $*"
  failures=$((failures + 1))
  show_windows
  flow_finish
}

# What was on the screen, for the failure report.
show_windows() {
  echo "visible windows (id, title, geometry; active $(xdotool getactivewindow 2>/dev/null)):"
  for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    echo "  $w [$(xdotool getwindowname "$w")] $(window_geometry "$w")"
  done
  [ -n "${FLOW_SHOT:-}" ] && import -window root "$FLOW_SHOT" 2>/dev/null
}

expect_eq() {
  [ "$1" == "$2" ] || fail "$3: expected [$2], got [$1]"
}

# A temporary home, settings and display of our own, so that parallel tests
# and the user's own settings stay apart.
flow_setup() {
  for tool in Xvfb openbox xdotool import jq; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/setup-deps)"; exit 1; }
  done
  work=$(mktemp -d "${TMPDIR:-/tmp}/velkora-flow-XXXXXX")
  export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
  export XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/runtime"
  export TMPDIR="$work/tmp" VELKORA_STORE_DIR="$work/store" VELKORA_USER_STORE_DIR="$work/user-store"
  mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$TMPDIR" "$VELKORA_STORE_DIR" "$VELKORA_USER_STORE_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM SESSION_MANAGER
  export QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=0 NO_AT_BRIDGE=1

  # Xvfb picks a free display number itself and writes it to the pipe.
  exec 5> >(cat > "$work/display")
  Xvfb -displayfd 5 -screen 0 1400x1000x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 5>&-
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
  export DISPLAY=":$(head -n1 "$work/display")"
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  trap flow_cleanup EXIT
  cd "$work" || exit 1
}

flow_cleanup() {
  [ -n "$flow_pid" ] && kill "$flow_pid" 2>/dev/null
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  [ "${FLOW_KEEP:-0}" = 1 ] || rm -rf "$work"
}

flow_finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s); velkora's output:"
    cat "$work/velkora.log" 2>/dev/null
    exit 1
  fi
  echo "road passed"
  exit 0
}

# Starts velkora with the given arguments; its output goes to velkora.log.
flow_start() {
  "$velkora" "$@" >>"$work/velkora.log" 2>&1 &
  flow_pid=$!
}

velkora_alive() {
  kill -0 "$flow_pid" 2>/dev/null
}

# Waits for velkora to end by itself; gives its exit status in flow_status.
flow_wait_exit() {
  local deadline=$((SECONDS + FLOW_WAIT_SECONDS))
  while [ "$SECONDS" -le "$deadline" ]; do
    velkora_alive || break
    sleep 0.1
  done
  if velkora_alive; then
    abort "velkora did not end ($1)"
  fi
  wait "$flow_pid"
  flow_status=$?
  flow_pid=""
}

# Polls a shell condition; fails the road on time-out or when velkora died.
wait_until() {
  local what=$1
  shift
  local deadline=$((SECONDS + FLOW_WAIT_SECONDS))
  while [ "$SECONDS" -le "$deadline" ]; do
    "$@" && return 0
    if ! velkora_alive; then
      wait "$flow_pid"
      local status=$?
      flow_pid=""
      abort "velkora died (exit status $status) while waiting for $what"
    fi
    sleep 0.1
  done
  abort "timed out waiting for $what"
}

# The visible window titled exactly $1. The title is read as the window
# manager shows it (the UTF-8 name), which is where a suffix would appear.
find_window() {
  local w
  for w in $(xdotool search --onlyvisible --name "^$1" 2>/dev/null); do
    if [ "$(xdotool getwindowname "$w" 2>/dev/null)" == "$1" ]; then
      echo "$w"
      return
    fi
  done
}

window_shown() {
  [ -n "$(find_window "$1")" ]
}

window_gone() {
  [ -z "$(find_window "$1")" ]
}

is_active() {
  [ "$(xdotool getactivewindow 2>/dev/null)" == "$1" ]
}

# Waits for the window titled $1, activates it and leaves its id in $win.
use_window() {
  wait_until "the window \"$1\"" window_shown "$1"
  win=$(find_window "$1")
  xdotool windowactivate "$win" 2>/dev/null
  wait_until "\"$1\" to take the focus" is_active "$win"
}

wait_gone() {
  wait_until "the window \"$1\" to close" window_gone "$1"
}

keys() {
  xdotool key --clearmodifiers --delay 40 "$@"
}

type_text() {
  xdotool type --clearmodifiers --delay 15 -- "$1"
}

# The New Project wizard, page by page, typing as a user; each Next needs its
# fields. Arguments: product name, version, web site, setup file, output
# directory, self creator path, RegNow product ID.
run_wizard() {
  use_window "Velkora Wizard"
  keys Return
  use_window "Velkora Wizard -Step1"
  type_text "$1"; keys Tab
  type_text "$2"; keys Tab
  type_text "$3"; keys Return
  # Tab goes from each field to its own "..." button and on to the next field.
  use_window "Velkora Wizard -Step2"
  type_text "$4"; keys Tab Tab
  type_text "$5"; keys Tab Tab
  type_text "$6"; keys Return
  use_window "Velkora Wizard -Step3"
  keys Tab # from the service list (RegNow) to the product ID
  type_text "$7"; keys Return
  use_window "Velkora Wizard"
  keys Return # Finish
}

# Window geometry as "x y width height" (frame excluded).
window_geometry() {
  xdotool getwindowgeometry --shell "$1" | awk -F= '{v[$1]=$2} END {print v["X"], v["Y"], v["WIDTH"], v["HEIGHT"]}'
}

# The y of the first pixel in screen column $1 whose colour is rgb $2
# ("220,224,224"), searching downwards from y $3; empty when none.
first_pixel_y() {
  import -window root -crop "1x$((1000 - $3))+$1+$3" +repage txt:- 2>/dev/null |
    awk -v want="($2" -v base="$3" 'index($0, want) { split($1, p, "[,:]"); print p[2] + base; exit }'
}

wait_file() {
  wait_until "the file $1" test -s "$1"
}

# A field of the project file as velkora-cli shows it.
project_json() {
  "$cli" show "$1" --json
}
