#!/usr/bin/env bash
# The affiliate's road through the self creator's dialog, on a private virtual
# X server: a self creator written by velkora-cli is started, the service is
# chosen, the fields are typed, Build shows "Building" and then the success
# and the run-now question (answered No); the package written stores the link.
# A second run presses Cancel in "Building" (the steps slowed down) and then
# opens the About box from its button, whose link fails on this desktop.
# Usage: selfkit_road.sh VELKORA_CLI VELKLINK_DEMO
cli=$(realpath "$1")
demo=$(realpath "$2")
. "$(dirname "$0")/FlowDriver.sh"
flow_setup

main_title="Create Your Custom Build Now!"
# A desktop where the opener fails and no browser is registered.
mkdir -p fake-bin empty-dirs
printf '#!/bin/sh\nexit 3\n' > fake-bin/xdg-open
chmod +x fake-bin/xdg-open
export PATH="$work/fake-bin:$PATH" XDG_DATA_DIRS="$work/empty-dirs" XDG_CONFIG_DIRS="$work/empty-dirs"
unset BROWSER

printf '#!/bin/sh\necho "ran with: $*" >> "%s/setup-ran"\n' "$work" > vendor-setup.sh
chmod +x vendor-setup.sh
"$cli" new demo.vkp --title Demo --version 1.0 --website https://demo.example \
  --setup-file vendor-setup.sh --output-dir out --service ShareIt --product-id 300871 >/dev/null ||
  abort "velkora-cli new"
"$cli" build-self-creator demo.vkp >/dev/null || abort "velkora-cli build-self-creator"
uuid=$(project_json demo.vkp | jq -r .product.uuid)
velkora=$work/out/VelkSMNG

# The box captioned "selfkit" that is not the one with id $1.
other_box() {
  local w
  w=$(find_window selfkit)
  [ -n "$w" ] && [ "$w" != "$1" ]
}

# --- the build, answered No ------------------------------------------------
flow_start
use_window "$main_title"
main=$win
# The focus starts on the service list: open it, take its (only) item.
keys space
keys Return
keys Tab
type_text "aff-7"; keys Tab
type_text "https://aff.example/"; keys Tab
type_text "$work/builds/aff 7/setup.bin"
keys Return # Build, the default button
wait_until "the success message" window_shown selfkit
success=$(find_window selfkit)
[ -x "$work/builds/aff 7/setup.bin" ] || fail "no package at the typed path"
expect_eq "$(xprop -id "$success" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*')" \
  "$(printf '0x%x' "$main")" "the message belongs to the main dialog"
xdotool windowactivate "$success" 2>/dev/null
keys Return
wait_until "the run-now question" other_box "$success"
use_window selfkit
keys n # No
wait_gone selfkit
window_shown "$main_title" || fail "the dialog closed after the build"
[ -e setup-ran ] && fail "the package ran though the question was answered No"

# The package written by the dialog stores the affiliate's link.
"$work/builds/aff 7/setup.bin" --quiet
wait_file setup-ran
expect_eq "$(cat setup-ran)" "ran with: --quiet" "arguments of the vendor's setup"
expect_eq "$("$demo" "$uuid")" \
  "https://secure.shareit.com/shareit/checkout.html?productid=300871&resellerid=aff-7" "stored purchase link"

# Cancel (the button of the main dialog) ends the program.
use_window "$main_title"
read -r _ _ mw mh < <(window_geometry "$main")
xdotool mousemove --window "$main" $((mw - 62)) $((mh - 27)) click 1
flow_wait_exit "Cancel in the main dialog"
expect_eq "$flow_status" 0 "exit status after Cancel"

# --- Cancel in "Building", then the About box ------------------------------
export VELKORA_SELFKIT_STEP_MS=3000
flow_start
unset VELKORA_SELFKIT_STEP_MS
use_window "$main_title"
main=$win
keys Tab
type_text "aff-8"; keys Tab Tab
type_text "$work/builds/cancelled.bin"
keys Return
use_window "Building"
building=$win
expect_eq "$(xprop -id "$building" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*')" \
  "$(printf '0x%x' "$main")" "\"Building\" belongs to the main dialog"
# Its Cancel is on top, within reach of the mouse.
read -r _ _ bw bh < <(window_geometry "$building")
xdotool mousemove --window "$building" $((bw / 2)) $((bh - 27)) click 1
wait_gone "Building"
[ -e "$work/builds/cancelled.bin" ] && fail "the cancelled build wrote its package"

# The About box from its button at the left of the dialog's foot.
use_window "$main_title"
xdotool mousemove --window "$main" 80 $((mh - 27)) click 1
use_window "About selfkit"
about=$win
# The link: the opener fails and no browser is known, so a warning says so.
xdotool mousemove --window "$about" 120 65 click 1
wait_until "the hyperlink warning" window_shown selfkit
use_window selfkit
keys Return
wait_gone selfkit
use_window "About selfkit"
keys Return
wait_gone "About selfkit"

# Nothing else was shown after the cancelled build: the dialog takes Escape
# and the program ends.
use_window "$main_title"
keys Escape
flow_wait_exit "Escape in the main dialog"
expect_eq "$flow_status" 0 "exit status after Escape"
flow_finish
