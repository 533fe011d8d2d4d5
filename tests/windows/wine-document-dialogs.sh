#!/usr/bin/env bash
# The document dialogs of the Windows desktop program as a vendor uses them,
# under wine64 on a virtual X server: each shown by the dialogs' probe on a
# sample project, filled with the keyboard (names in other languages typed),
# and the record the probe prints afterwards checked. The sample project's
# title and output folder are in other languages: they go through the dialogs'
# fields and come back byte for byte. (Typed letters outside ASCII do not reach
# wine64 reliably through xdotool, which maps each to a spare key for the moment.)
# Arguments: prefix probe.exe work
set -uo pipefail
[ -n "${VELKORA_TRACE:-}" ] && set -x
prefix=$1 probe=$2 work=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-gui.sh"
. "$here/velkora-dialog-steps.sh"

# probe DIALOG: starts the probe on DIALOG; its output goes to DIALOG.out.
probe() {
  ( $wine "$probe" "$1" 'C:\proj\p.vkp' >"$1.out" 2>"$1.err"; echo $? >"$1.exit" ) &
  pids+=($!)
}
finished() { # finished DIALOG: waits (bounded) for the probe to end with status 0
  for _ in $(seq 300); do [ -s "$1.exit" ] && break; sleep 0.1; done
  [ "$(cat "$1.exit" 2>/dev/null)" = 0 ] || { fail "$1: probe status $(cat "$1.exit" 2>/dev/null)"; return 1; }
}
expect() { # expect DIALOG KEY=VALUE...: the probe printed these lines
  local d=$1 line
  shift
  for line in "$@"; do
    grep -qxF -- "$line" "$d.out" && echo "ok: $d $line" || fail "$d: no line '$line' in: $(cat "$d.out")"
  done
}

regnow=https://www.regnow.com/softsell/nph-softsell.cgi

probe wizard
dialog_wizard_to_finish 'Demo Tool' '2.0' 'http://t.example' 'C:\s\setup.exe' 'C:\out' 42
finished wizard && expect wizard result=ok 'title=Demo Tool' version=2.0 \
  'setupFile=C:\s\setup.exe' 'outputDir=C:\out' service=0 productId=42 "purchaseLink=$regnow?item=42"

probe affiliate
dialog_fill_affiliate 'Bob' A7
finished affiliate && expect affiliate result=ok name=Bob 'setupPath=ausgabe-жук\setup_Bob.exe' 'title=Größe Ωmega жук' affiliateId=A7 \
  "purchaseLink=$regnow?affiliate=A7&item=P1" service=0

probe productid
box=$(window '^New Product ID$')
keys "$box" Return # OK without an ID is refused
refusal=$(window '^Velkora$')
[ -n "$refusal" ] && echo "ok: an empty product ID is refused" || fail "no refusal of an empty ID"
keys "$refusal" Return
gone '^Velkora$' || fail "the refusal stays open"
keys "$box" Tab
typed 55
xdotool key --clearmodifiers Return
finished productid && expect productid result=ok service=RegNow productId=55 \
  "purchaseLink=$regnow?item=55"

probe settings
box=$(window '^Product Settings$')
keys "$box" Tab # from the title to the version, which is then selected
typed 3.1
xdotool key --clearmodifiers Return
finished settings && expect settings result=ok 'title=Größe Ωmega жук' version=3.1 \
  'outputDir=ausgabe-жук' \
  "reg=RegNow|P1|$regnow?item=P1"

probe uuid
box=$(window '^Program UUID$')
keys "$box" Home shift+End
typed 'MY-OWN-UUID'
xdotool key --clearmodifiers Return
finished uuid && expect uuid result=changed uuid=MY-OWN-UUID

# Context help in Product Settings: F1 on a control with a help text opens the
# pop-up (its window name is the text) over the dialog; a click and a key each
# close it; F1 on a control without a text opens no window; the help keys type
# nothing into the fields.
context_help() {
  local box popup before after shown
  local title='^Provides a space for you to specify title of the product\.$'
  ( $wine "$probe" settings 'C:\proj\p.vkp' >help.out 2>help.err; echo $? >help.exit ) &
  pids+=($!)
  box=$(window '^Product Settings$')
  [ -n "$box" ] || { fail "help: no Product Settings"; return 1; }
  keys "$box" F1 # the title field has the focus
  popup=$(window "$title")
  [ -n "$popup" ] || { fail "help: no pop-up of the title"; return 1; }
  echo "ok: F1 on the title shows its help"
  inside "$popup" "$box"
  xdotool mousemove --window "$popup" 4 4 click 1
  gone "$title" && echo "ok: a click closes the help" || fail "help: a click leaves it open"
  keys "$box" F1
  [ -n "$(window "$title")" ] || { fail "help: no pop-up after a second F1"; return 1; }
  xdotool key --clearmodifiers Escape
  gone "$title" && echo "ok: a key closes the help" || fail "help: a key leaves it open"
  [ -n "$(window '^Product Settings$')" ] || fail "help: the key closed the dialog too"
  keys "$box" Tab Tab Tab # past the version and the web site to the tabs, which have no text
  before=$(visible_windows)
  xdotool key --clearmodifiers F1
  sleep 1
  after=$(visible_windows)
  [ "$after" = "$before" ] && echo "ok: F1 on a control without a text shows nothing" \
    || fail "help: F1 on the tabs opened a window ($before -> $after)"
  xdotool key --clearmodifiers Return
  finished help && expect help result=ok 'title=Größe Ωmega жук' version=1.0
}
visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
inside() { # inside A B: the top-left corner of window A lies on window B
  local ax ay bx by bw bh
  eval "$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^X=/ax=/p; s/^Y=/ay=/p')"
  eval "$(xdotool getwindowgeometry --shell "$2" | sed -n 's/^X=/bx=/p; s/^Y=/by=/p; s/^WIDTH=/bw=/p; s/^HEIGHT=/bh=/p')"
  if ((ax >= bx && ax < bx + bw && ay >= by && ay < by + bh)); then
    echo "ok: the help opens on its dialog"
  else
    fail "help: pop-up at $ax,$ay outside the dialog $bx,$by ${bw}x$bh"
  fi
}
context_help

# The output folder's chooser: a typed name ending in a full stop is refused
# with its message and the chooser stays; a typed folder that does not exist
# is offered for creation, made on Yes and returned as typed.
folder_chooser_step() {
  local chooser box target name
  # Short: the field completes what it knows while a long path is typed.
  name="chosen-$$"
  target="C:\\$name\\new"
  ( $wine "$probe" folder 'C:\' >folder.out 2>folder.err; echo $? >folder.exit ) &
  pids+=($!)
  chooser=$(window '^Browse$')
  [ -n "$chooser" ] || { fail "folder: no chooser"; return 1; }
  keys "$chooser" Home shift+End # the typed-path field has the focus
  typed 'C:\bad.'
  xdotool key --clearmodifiers Return
  box=$(window '^Velkora$')
  [ -n "$box" ] && echo "ok: folder: a name ending in a full stop is refused" ||
    { fail "folder: no refusal of C:\\bad."; return 1; }
  keys "$box" Return
  gone '^Velkora$' || fail "folder: the refusal stays open"
  [ -n "$(window '^Browse$')" ] || { fail "folder: the chooser closed on a refused path"; return 1; }
  keys "$chooser" Home shift+End
  typed "$target"
  xdotool key --clearmodifiers Return
  box=$(window '^Velkora$')
  [ -n "$box" ] || { fail "folder: no offer to create $target"; return 1; }
  keys "$box" Return # Yes
  finished folder && expect folder result=ok "folder=$target"
  [ -d "$prefix/drive_c/$name/new" ] && echo "ok: folder: the typed folder was made" ||
    fail "folder: $target was not made"
}
folder_chooser_step

[ "$failures" -eq 0 ] && echo "all passed" || echo "$failures failure(s)"
exit $((failures > 0))
