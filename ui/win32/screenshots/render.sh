#!/usr/bin/env bash
# Renders velkora.exe's windows to PNG files under wine64 on a virtual X
# server: the main window with a project, the New Project wizard's first page,
# the Affiliate Property dialog and Product Settings. A window that does not
# appear is reported and the others are still rendered.
# Arguments: prefix velkora.exe project.vkp output-folder
set -uo pipefail
prefix=$1 desktop=$(realpath "$2") project=$(realpath "$3") out=$(realpath -m "$4")
work=$out/.win32-work
here=$(cd "$(dirname "$0")" && pwd)
[ -d "$prefix/drive_c/windows" ] || "$here/../../../tests/windows/wine-prefix.sh" "$prefix"
. "$here/../../../tests/windows/wine-gui.sh"
# The prefix is this script's alone: its server ends with the script.
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  $wineserver -k 2>/dev/null
}
cp "$desktop" velkora.exe
cp "$project" project.vkp

shot() { # shot TITLE FILE: the window with that title as out/FILE
  local id
  id=$(window "$1")
  if [ -z "$id" ]; then
    fail "no window '$1' for $2"
    return 1
  fi
  sleep 0.7 # painted
  import -window "$id" "$out/$2" && echo "wrote $out/$2"
}

( $wine velkora.exe "$($wine winepath -w "$work/project.vkp" 2>/dev/null | tr -d '\r')" \
  >wine.log 2>&1 ) &
pids+=($!)
main=$(window ' - Velkora$')
[ -n "$main" ] || { fail "velkora.exe shows no main window"; exit 1; }
click() { # click WINDOW X Y: a click at a point of the window's client area
  xdotool windowactivate --sync "$1" >/dev/null 2>&1
  xdotool mousemove --window "$1" "$2" "$3" click 1
}
sleep 1
click "$main" 60 88 # the first affiliate selected
shot ' - Velkora$' win32-main-window.png

keys "$main" alt+a p
shot '^Affiliate Property$' win32-affiliate-dialog.png && keys "$(window '^Affiliate Property$')" Escape
gone '^Affiliate Property$'

keys "$main" alt+p p
shot '^Product Settings$' win32-product-settings.png && keys "$(window '^Product Settings$')" Escape
gone '^Product Settings$'

keys "$main" alt+f n
shot 'Wizard$' win32-wizard-1-welcome.png && keys "$(window 'Wizard$')" Escape

keys "$main" alt+f x
sleep 1
exit $((failures > 0))
