#!/usr/bin/env bash
# velkora.exe as a vendor uses it, under wine64 on a virtual X server: on a
# first start the Welcome dialog, the New Project wizard and "Hints" make a
# product with three affiliates that Save writes; a project given on the
# command line shows its affiliates; its toolbar floats by its gripper, hides
# and shows, docks on the left and at the top again; a cell edited in place,
# a sort by a header click, a deletion and Affiliate Property reach the saved
# file; Build All writes the custom setups, and one of them stores its link,
# which velklink.dll returns; after a restart the recent file reopens from
# the Welcome dialog and the File menu; the About box and Help show; Select
# All and Build Selected write the setups; Build Self Creator writes the
# x86_64 self creator; Export Affiliates writes the list, Import Affiliates
# opens its chooser and Run Setup runs the selected affiliate's custom setup.
# A crash, a hang (every wait is bounded) or a wrong file fails it.
# Arguments: prefix velkora.exe velkora-cli ArgsSetup.exe LinkProbe.exe velklink.dll
#            selfkit.exe(x86_64) work
set -uo pipefail
[ -n "${VELKORA_TRACE:-}" ] && set -x
prefix=$1 desktop=$2 cli=$3 setup=$4 probe=$5 dll=$6 kit64=$7 work=$8
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-gui.sh"
. "$here/velkora-dialog-steps.sh"
expect() { # expect WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then fail "$1: expected [$2], got [$3]"; else echo "ok: $1"; fi
}
mkdir -p bin
cp "$desktop" velkora.exe
cp "$dll" "$probe" bin/

click() { # click WINDOW X Y [COUNT]: clicks at a point of the window's client area
  xdotool windowactivate --sync "$1" >/dev/null 2>&1
  xdotool mousemove --window "$1" "$2" "$3" click --repeat "${4:-1}" --delay 80 1
}
shot() { import -window root "$work/$1.png" 2>/dev/null; } # kept for a failure's reader
ended() { # ended WHAT: waits for the program to end and checks its status
  for _ in $(seq 300); do [ -s exit.txt ] && break; sleep 0.1; done
  [ -s exit.txt ] || { shot not-ended; echo "FAIL: $1: the program did not end"; exit 1; }
  expect "$1" 0 "$(cat exit.txt)"
}
quit() { # quit WINDOW WHAT: File > Exit, pressed again when the keys went astray
  for _ in 1 2 3; do
    keys "$1" alt+f x
    for _ in $(seq 50); do [ -s exit.txt ] && break; sleep 0.1; done
    [ -s exit.txt ] && break
  done
  ended "$2"
}
start() { # start [ARG]: starts velkora.exe; its status goes to exit.txt
  rm -f exit.txt
  ( $wine velkora.exe "$@" >>wine.log 2>&1; echo $? >exit.txt ) &
}
names() { # the affiliates' names in the saved project, sorted
  "$cli" show p.vkp | sed -n 's/^  \[[0-9]*\] //p' | sort | tr '\n' ' '
}
maximised() { # maximised WINDOW: waits until the window fills the screen's width
  for _ in $(seq 100); do
    xdotool getwindowgeometry "$1" 2>/dev/null | grep -q 'Geometry: 1024x' && break
    sleep 0.1
  done
  sleep 0.5 # painted
}
winpath() { $wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# The list's geometry in the window (pixels of its client area): the menu
# bar, the toolbar and the list's header lie above the first row.
header_y=65 first_row_y=88 name_x=60
# Rows are 25 pixels high (the 24-pixel icon); in the maximised window the
# Purchase Link column spans x = 572 to 900.
row_height=25 link_x=575 link_width=320

# Prints the colour most pixels of a rectangle of the window have (#RRGGBB).
dominant_colour() { # dominant_colour WINDOW X Y WIDTH HEIGHT
  import -window "$1" -crop "${4}x${5}+${2}+${3}" -depth 8 txt:- 2>/dev/null |
    awk 'NR > 1 { n[$3]++ } END { for (c in n) if (n[c] > best) { best = n[c]; top = c } print top }'
}
# Waits (bounded) until a rectangle of the window holds text in the hover
# colour (some) or none of it (none); prints the last count of such pixels.
# The rectangle, not one pixel: the text's exact pixels depend on the font.
hover_pixels() { # hover_pixels some|none WINDOW X Y WIDTH HEIGHT
  local n=0
  for _ in $(seq 30); do
    n=$(import -window "$2" -crop "${5}x${6}+${3}+${4}" -depth 8 txt:- 2>/dev/null | grep -ci '#5050FF')
    if [ "$1" = some ]; then [ "$n" -ge 20 ] && break; else [ "$n" -eq 0 ] && break; fi
    sleep 0.1
  done
  echo "$n"
}
# Row drawing, on a list whose rows are not selected: the backgrounds
# alternate from the top and the area below the rows has its own; the
# Purchase Link cell under the pointer shows the hover colour, and only that
# cell; over empty space or outside the list no cell does.
check_row_colours() { # check_row_colours WINDOW (maximised, three rows)
  local top0=$((first_row_y - 8)) top1=$((first_row_y + row_height - 8))
  local empty=$((first_row_y + 4 * row_height))
  expect "row 0's background" "#DCE0E0" "$(dominant_colour "$1" 200 $top0 700 16)"
  expect "row 1's background" "#F0FAFA" "$(dominant_colour "$1" 200 $top1 700 16)"
  expect "the background below the rows" "#F5FFFF" "$(dominant_colour "$1" 200 $empty 700 100)"
  [ "$(hover_pixels none "$1" $link_x $top0 $link_width 16)" -eq 0 ] &&
    [ "$(hover_pixels none "$1" $link_x $top1 $link_width 16)" -eq 0 ] &&
    echo "ok: no cell shows the hover colour before the pointer comes" ||
    fail "a link is drawn in the hover colour without the pointer"
  xdotool windowactivate --sync "$1" >/dev/null 2>&1
  xdotool mousemove --window "$1" $((link_x + 150)) $((first_row_y + row_height))
  local hovered other
  hovered=$(hover_pixels some "$1" $link_x $top1 $link_width 16)
  other=$(hover_pixels none "$1" $link_x $top0 $link_width 16)
  [ "$hovered" -ge 20 ] && [ "$other" -eq 0 ] &&
    echo "ok: the purchase link under the pointer, and only it, shows the hover colour" ||
    { shot hover; fail "hover colour: $hovered pixels in row 1's link, $other in row 0's"; }
  xdotool mousemove --window "$1" $((link_x + 150)) $((empty + 50))
  [ "$(hover_pixels none "$1" $link_x $top1 $link_width 16)" -eq 0 ] &&
    echo "ok: over empty space no cell shows the hover colour" ||
    { shot hover-empty; fail "the hover colour stays with the pointer over empty space"; }
  xdotool mousemove --window "$1" $((link_x + 150)) $((first_row_y + row_height))
  [ "$(hover_pixels some "$1" $link_x $top1 $link_width 16)" -ge 20 ] &&
    xdotool mousemove --window "$1" 500 650 && # the log pane
    [ "$(hover_pixels none "$1" $link_x $top1 $link_width 16)" -eq 0 ] &&
    echo "ok: leaving the list clears the hover colour" ||
    { shot hover-left; fail "the hover colour stays after the pointer left the list"; }
  # A selected row keeps the system's selection colours.
  click "$1" $name_x $((first_row_y + row_height))
  local selected
  for _ in $(seq 30); do
    selected=$(dominant_colour "$1" 200 $top1 700 16)
    [ "$selected" != "#F0FAFA" ] && break
    sleep 0.1
  done
  [ -n "$selected" ] && [ "$selected" != "#F0FAFA" ] && [ "$selected" != "#DCE0E0" ] &&
    echo "ok: a selected row is drawn in the selection colours" ||
    fail "the selected row is drawn as [$selected]"
}

drag() { # drag FROM-WINDOW X Y TO-WINDOW X Y: presses, moves and lets go
  xdotool mousemove --window "$1" "$2" "$3" mousedown 1 sleep 0.2 \
    mousemove --window "$4" 300 300 sleep 0.2 mousemove --window "$4" "$5" "$6" sleep 0.2 mouseup 1
  sleep 0.5
}
about_box() { # about_box WHAT: the About box is open; it is closed again
  local about
  about=$(window '^About Velkora$')
  [ -n "$about" ] && echo "ok: $1" || { shot "$2"; fail "$1"; return; }
  keys "$about" Return
  gone '^About Velkora$' || fail "the About box stays open"
}
# The toolbar by its gripper: dropped amid the window it floats in a tool
# window of its own, which View > Toolbar hides and shows; dropped on the
# left edge it docks there, upright (its last button, About, works there);
# dropped on the top edge it is back where it started.
step_toolbar_dock() { # step_toolbar_dock MAIN
  local floating height
  drag "$1" 4 35 "$1" 500 400
  floating=$(window '^Standard$')
  [ -n "$floating" ] && echo "ok: the toolbar floats in a window of its own" ||
    { shot toolbar-float; fail "the toolbar does not float"; return; }
  keys "$1" alt+v t
  gone '^Standard$' && echo "ok: View > Toolbar hides the floating toolbar" ||
    fail "the floating toolbar stays"
  keys "$1" alt+v t
  floating=$(window '^Standard$')
  [ -n "$floating" ] || { fail "View > Toolbar does not show the floating toolbar"; return; }
  height=$(xdotool getwindowgeometry --shell "$floating" | sed -n 's/^HEIGHT=//p')
  drag "$floating" 4 $((height - 12)) "$1" 3 300
  gone '^Standard$' || { shot toolbar-left; fail "the toolbar does not dock on the left"; return; }
  click "$1" 17 396
  about_box "the toolbar docks on the left" toolbar-left
  drag "$1" 17 23 "$1" 500 22
  click "$1" 388 37
  about_box "the toolbar docks at the top again" toolbar-top
}

# A product whose setup is a 64-bit Windows program, with three affiliates.
cp "$setup" ArgsSetup.exe
uuid=0D3B2F8E-5C41-4B7A-9E21-6A1F4C2D8B90
"$cli" new p.vkp --title Demo --version 1.0 --website https://demo.example \
  --setup-file ArgsSetup.exe --output-dir out --service RegNow --product-id 1234 >cli.log 2>&1 &&
  "$cli" set-product p.vkp --uuid "$uuid" >>cli.log 2>&1 || { echo "FAIL: $(cat cli.log)"; exit 1; }
# Added in this order, the list shows Bert first.
for name in Carla Anna Bert; do
  "$cli" add-affiliate p.vkp --name $name --affiliate-id "id-$name" >>cli.log 2>&1 ||
    fail "add-affiliate: $(cat cli.log)"
done
$wine reg delete 'HKCU\Software\Velkora' /f >/dev/null 2>&1

# A first start: the Welcome dialog creates a new project; the wizard makes
# the product, "Hints" leads to the first of three affiliates, Save names the
# file.
start
welcome=$(window '^Welcome$')
[ -n "$welcome" ] && keys "$welcome" Return || fail "no Welcome dialog on the first start"
main=$(window '^Untitled - Velkora$')
if dialog_wizard_to_finish Wizarded 2.0 https://w.example "$(winpath "$work/ArgsSetup.exe")" \
  "$(winpath "$work/out-w")" 5678 &&
  dialog_add_three_affiliates "$main" Ada id-ada Ben id-ben Cy id-cy; then
  keys "$main" ctrl+s
  saveas=$(window '^Save As$')
  [ -n "$saveas" ] && { typed "$(winpath "$work/w.vkp")"; xdotool key --clearmodifiers Return; } ||
    fail "no Save As dialog"
  for _ in $(seq 100); do [ -s w.vkp ] && break; sleep 0.1; done
  expect "the wizard's product and its three affiliates are saved" "Ada Ben Cy " \
    "$("$cli" show w.vkp | sed -n 's/^  \[[0-9]*\] //p' | sort | tr '\n' ' ')"
  "$cli" show w.vkp | grep -q "Wizarded" && echo "ok: the wizard's title is saved" ||
    fail "the wizard's title is not in w.vkp"
fi
[ -n "$main" ] && quit "$main" "the first start ends with status 0"
$wine reg delete 'HKCU\Software\Velkora' /f >/dev/null 2>&1

start "$(winpath "$work/p.vkp")"
main=$(window '^p.vkp - Velkora$')
[ -n "$main" ] || { echo "FAIL: the project given on the command line did not open"; exit 1; }
echo "ok: the project opens from the command line"
maximised "$main"
check_row_colours "$main"
step_toolbar_dock "$main"

# Bert's name edited in place: a double click on its cell, the text replaced.
click "$main" $name_x $first_row_y 2
sleep 0.5
xdotool key --clearmodifiers ctrl+a BackSpace
xdotool type --clearmodifiers "Bertram"
xdotool key --clearmodifiers Return
sleep 0.3
# Sorted by name: Anna, Bertram, Carla. The first row is deleted.
click "$main" $name_x $header_y
sleep 0.3
click "$main" $name_x $first_row_y
keys "$main" Delete
box=$(window '^Warning!$')
[ -n "$box" ] && keys "$box" Return || fail "no question before deleting"
gone '^Warning!$' || fail "the question stays open"
keys "$main" ctrl+s
sleep 1
expect "edit, sort and delete reach the saved file" "Bertram Carla " "$(names)"
# Affiliates > Property on the first row (Bertram): its affiliate ID changed in the dialog.
click "$main" $name_x $first_row_y
keys "$main" alt+a p
dialog=$(window '^Affiliate Property$')
if [ -n "$dialog" ]; then
  keys "$dialog" Tab Tab Home shift+End
  typed "id-Bertram"
  xdotool key --clearmodifiers Return
  gone '^Affiliate Property$' || fail "the affiliate dialog stays open"
  keys "$main" ctrl+s
  sleep 1
  "$cli" show p.vkp | grep -q "id-Bertram" && echo "ok: Affiliate Property's change is saved" ||
    fail "Affiliate Property's change is not in p.vkp"
else
  fail "Affiliates > Property opens no dialog"
fi

# Build All: the custom setups on disk.
keys "$main" F8
for _ in $(seq 300); do [ -f out/ArgsSetup_Carla.exe ] && [ -f out/ArgsSetup_Bert.exe ] && break; sleep 0.1; done
[ -f out/ArgsSetup_Carla.exe ] && echo "ok: Build All writes the custom setups" ||
  fail "no custom setups: $(ls out 2>&1)"
sleep 1
$wine out/ArgsSetup_Carla.exe >/dev/null 2>&1
link="https://www.regnow.com/softsell/nph-softsell.cgi?affiliate=id-Carla&item=1234"
(cd bin && expect "velklink returns the stored link" "0 $((${#link} + 1)) $link" \
  "$($wine LinkProbe.exe "$uuid" 4096 | tr -d '\r')")

quit "$main" "the program ends with status 0"
recent=$($wine reg query 'HKCU\Software\Velkora\velkora\Recent File List' 2>/dev/null | tr -d '\r')
echo "$recent" | grep -q "File1.*REG_SZ.*p.vkp" && echo "ok: the recent file is in the registry" ||
  fail "recent files: $recent"

# Started again without a file: the Welcome dialog offers the recent file.
start
welcome=$(window '^Welcome$')
[ -n "$welcome" ] || fail "no Welcome dialog"
keys "$welcome" Tab Home Down Return
main=$(window '^p.vkp - Velkora$')
[ -n "$main" ] && echo "ok: the recent file reopens from the Welcome dialog" ||
  fail "the recent file did not reopen"
keys "$main" alt+f 1
sleep 1
[ -n "$(window '^p.vkp - Velkora$')" ] && echo "ok: the recent file reopens from the File menu" ||
  fail "File menu: the recent file did not reopen"

# Help > About, and Help > Index & Content: the guide is not beside this
# copy of the program, and a message says so.
keys "$main" alt+h a
about=$(window '^About Velkora$')
[ -n "$about" ] && echo "ok: the About box opens" || fail "no About box"
keys "$about" Return
gone '^About Velkora$' || fail "the About box stays open"
keys "$main" alt+h Return
box=$(window '^Velkora$')
[ -n "$box" ] && echo "ok: Help says that the guide is missing" || fail "no message from Help"
keys "$box" Return
gone '^Velkora$' || fail "the message stays open"

# Select All (Ctrl+A), then Build Selected (F7).
rm -f out/ArgsSetup_Bert.exe out/ArgsSetup_Carla.exe
keys "$main" ctrl+a F7
for _ in $(seq 300); do
  [ -f out/ArgsSetup_Bert.exe ] && [ -f out/ArgsSetup_Carla.exe ] && break
  sleep 0.1
done
[ -f out/ArgsSetup_Bert.exe ] && [ -f out/ArgsSetup_Carla.exe ] &&
  echo "ok: Select All and Build Selected write the selected affiliates' setups" ||
  { shot build-selected; fail "Build Selected: $(ls out 2>&1)"; }

# Build Self Creator: the x86_64 self creator for a PE32+ setup.
keys "$main" alt+b b
for _ in $(seq 300); do [ -s out/VelkSMNG.exe ] && break; sleep 0.1; done
cmp -s -n "$(stat -c %s "$kit64")" "$kit64" out/VelkSMNG.exe &&
  echo "ok: Build Self Creator writes the x86_64 self creator" ||
  fail "no self creator of the x86_64 kind: $(ls -la out 2>&1)"
# Export Affiliates writes the list beside the project under its suggested
# name; Import Affiliates opens its own chooser; Run Setup (F9) runs the one
# selected affiliate's custom setup, which stores that affiliate's link.
keys "$main" alt+f e
saveas=$(window '^Save As$')
if [ -n "$saveas" ]; then
  xdotool key --clearmodifiers Return
  for _ in $(seq 50); do [ -s "p affiliates.csv" ] && break; sleep 0.1; done
  grep -q "Bertram" "p affiliates.csv" 2>/dev/null && grep -q "Carla" "p affiliates.csv" &&
    echo "ok: Export Affiliates writes the affiliates beside the project" ||
    fail "Export Affiliates: $(ls 2>&1 | tr '\n' ' ')"
else
  fail "Export Affiliates opens no chooser"
fi
keys "$main" alt+f i
chooser=$(window '^Import Affiliates$')
[ -n "$chooser" ] && echo "ok: Import Affiliates opens its chooser" || fail "no Import Affiliates chooser"
[ -n "$chooser" ] && keys "$chooser" Escape && gone '^Import Affiliates$'
click "$main" $name_x $header_y # sorted by name: Bertram first
sleep 0.3
click "$main" $name_x $first_row_y
keys "$main" F9
stored=""
for _ in $(seq 100); do
  stored=$(cd bin && $wine LinkProbe.exe "$uuid" 4096 2>/dev/null | tr -d '\r')
  case $stored in *affiliate=id-Bertram*) break ;; esac
  sleep 0.2
done
case $stored in
  *affiliate=id-Bertram*) echo "ok: Run Setup runs the selected affiliate's custom setup" ;;
  *) shot run-setup; fail "Run Setup: the stored link is [$stored]" ;;
esac

quit "$main" "the program ends again with status 0"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "all passed"
