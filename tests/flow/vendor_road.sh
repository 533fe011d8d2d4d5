#!/usr/bin/env bash
# A vendor's first day with velkora, driven through its windows: first start,
# Welcome, the New Project wizard to Finish, the "Hints" prompt, three
# affiliates, an in-place edit, sorting, deleting one, Build All (with the
# save it offers) and Build Selected, quit; then a second start that reopens
# the recent file, Product Settings, Program UUID, save and Build Self
# Creator. Results are read back from the files with velkora-cli.
# Usage: vendor_road.sh VELKORA VELKORA_CLI
set -u
velkora=$(realpath "$1")
cli=$(realpath "$2")
source "$(dirname "$(realpath "$0")")/FlowDriver.sh"
flow_setup

printf '#!/bin/sh\necho "ran with: $*"\n' > vendor-setup.sh
chmod +x vendor-setup.sh
project="$work/demo.vkp"
out="$work/out"
creator="$work/VelkSelfMaker"
regnow="https://www.regnow.com/softsell/nph-softsell.cgi"

# --- First start: Welcome, centred on the maximised main window.
flow_start
use_window "Welcome"
welcome=$win
wait_until "the main window" window_shown "Untitled - Velkora"
main=$(find_window "Untitled - Velkora")
welcome_centred() {
  local wx wy ww wh mx my mw mh
  read -r wx wy ww wh <<<"$(window_geometry "$welcome")"
  read -r mx my mw mh <<<"$(window_geometry "$main")"
  local dx=$(((wx + ww / 2) - (mx + mw / 2))) dy=$(((wy + wh / 2) - (my + mh / 2)))
  [ "${dx#-}" -le 30 ] && [ "${dy#-}" -le 30 ] && [ "$mw" -ge 1000 ]
}
wait_until "the Welcome dialog centred on the maximised main window" welcome_centred
keys Return # "Create a new Document" is chosen at first

# --- The New Project wizard to Finish.
run_wizard "Demo Product" "1.0" "https://demo.example" "$work/vendor-setup.sh" "$out" "$creator" 4711

# --- The wizard's question, then the first affiliate.
use_window "Hints"
keys Return # Yes
add_affiliate() { # name, affiliate ID
  use_window "Affiliate Property"
  type_text "$1"; keys Tab Tab
  type_text "$2"; keys Return
  wait_gone "Affiliate Property"
}
add_affiliate Carol ca-3
use_window "Untitled - Velkora"
keys alt+a a
add_affiliate Alice al-1
use_window "Untitled - Velkora"
keys alt+a a
add_affiliate Bob bo-2

# --- Find the rows by their colours: the list's empty area, then the first
# even and odd rows. Rows are 28 pixels high.
use_window "Untitled - Velkora"
read -r mx my mw mh <<<"$(window_geometry "$main")"
list_left=$((mx + 2))
scan_x=$((list_left + 106)) # just inside the second column, left of its text
empty_y=$(first_pixel_y "$scan_x" "245,255,255" "$my")
[ -n "$empty_y" ] || abort "the affiliate list's empty area was not found"
xdotool mousemove $scan_x $((empty_y + 20)) click 1 # clears the selection
even_shown() { row0=$(first_pixel_y "$scan_x" "220,224,224" "$my"); [ -n "$row0" ]; }
wait_until "the affiliate rows" even_shown
expect_eq "$empty_y" "$((row0 + 3 * 28))" "three rows above the list's empty area"
cell() { # row, column centre x offset
  echo "$((list_left + $2)) $((row0 + $1 * 28 + 14))"
}
double_click() {
  xdotool mousemove $(cell "$1" "$2") click --repeat 2 --delay 60 1
}
click() {
  xdotool mousemove $(cell "$1" "$2") click 1
}

# In-place edit of Alice's affiliate ID (second row, second column).
double_click 1 145
sleep 0.3 # the editor opens on the double click's release
keys ctrl+a
type_text "al-9"; keys Return

# Sort by name: Alice, Bob, Carol. Then delete the second row (Bob).
xdotool mousemove $((list_left + 50)) $((row0 - 10)) click 1
click 1 50
keys Delete
use_window "Warning!"
keys Return # Yes
wait_gone "Warning!"

# --- Build All offers to save the untitled project first.
use_window "Untitled - Velkora"
keys F8
use_window "Velkora"
keys Return # Yes: save
use_window "Save As"
type_text "$project"; keys Return
wait_file "$project"
package_ok() { "$cli" inspect "$1" >/dev/null 2>&1; }
alice_pkg="$out/vendor-setup_Alice.sh"
carol_pkg="$out/vendor-setup_Carol.sh"
wait_until "Alice's package" package_ok "$alice_pkg"
wait_until "Carol's package" package_ok "$carol_pkg"
[ -e "$out/vendor-setup_Bob.sh" ] && fail "the deleted affiliate's package was built"
wait_until "the main window titled after the file" window_shown "demo.vkp - Velkora"

json=$(project_json "$project")
expect_eq "$(jq -r '.product.title' <<<"$json")" "Demo Product" "product name"
expect_eq "$(jq -r '.product.version' <<<"$json")" "1.0" "version"
expect_eq "$(jq -r '.product.webSite' <<<"$json")" "https://demo.example" "web site"
# Paths inside the project's folder are stored relative to it on the first
# save, so that a copy of the folder builds into itself.
expect_eq "$(jq -r '.product.setupFile' <<<"$json")" "vendor-setup.sh" "setup file"
expect_eq "$(jq -r '.product.outputDir' <<<"$json")" "out" "output directory"
expect_eq "$(jq -r '.product.selfCreatorPath' <<<"$json")" "VelkSelfMaker" "self creator path"
uuid=$(jq -r '.product.uuid' <<<"$json")
[[ "$uuid" =~ ^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$ ]] ||
  fail "program UUID [$uuid]"
expect_eq "$(jq -c '.registrationInfo' <<<"$json")" \
  "[{\"service\":0,\"serviceName\":\"RegNow\",\"productId\":\"4711\",\"purchaseLink\":\"$regnow?item=4711\"}]" \
  "registration info"
expect_eq "$(jq -r '[.affiliates[].name] | sort | join(",")' <<<"$json")" "Alice,Carol" \
  "affiliates left after sorting and deleting the second row"
alice() { jq -r ".affiliates[] | select(.name == \"Alice\") | .$1" <<<"$json"; }
expect_eq "$(alice affiliateId)" "al-9" "Alice's ID edited in place"
expect_eq "$(alice purchaseLink)" "$regnow?affiliate=al-9&item=4711" "Alice's link after the edit"
expect_eq "$(alice setupPath)" "out/vendor-setup_Alice.sh" "Alice's setup path"
expect_eq "$("$cli" inspect "$alice_pkg" | sed -n 's/^  Purchase link: //p')" \
  "$regnow?affiliate=al-9&item=4711" "link inside Alice's package"
expect_eq "$("$cli" inspect "$carol_pkg" | sed -n 's/^  Program UUID:  //p')" "$uuid" \
  "program UUID inside Carol's package"

# --- Build Selected: only the selected affiliate's package is written.
rm -f "$alice_pkg" "$carol_pkg"
click 0 50 # Alice, first after sorting
# F7 is ignored while Build All is still finishing: press it again now and
# then, as a user would, until the package is there.
build_selected_done() {
  package_ok "$alice_pkg" && return 0
  [ $((SECONDS % 3)) -eq 0 ] && keys F7
  return 1
}
keys F7
wait_until "Alice's package from Build Selected" build_selected_done
[ -e "$carol_pkg" ] && fail "Build Selected built an affiliate that was not selected"

# --- Quit; nothing is left to save.
keys alt+f x
flow_wait_exit "after File > Exit"
expect_eq "$flow_status" 0 "exit status"

# --- Second start: the recent file from the Welcome dialog.
flow_start
use_window "Welcome"
keys alt+o Tab Down Down Return # the open choice, then the first recent file
use_window "demo.vkp - Velkora"

# Product Settings: the version on the General Info page.
keys alt+p p
use_window "Product Settings"
keys Tab Tab # from the page's tab past the title to the version
keys ctrl+a
type_text "2.0"
keys Return
wait_gone "Product Settings"

# Program UUID: a new text, applied.
new_uuid="0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"
use_window "demo.vkp - Velkora"
keys alt+p u
use_window "Program UUID"
keys ctrl+a
type_text "$new_uuid"; keys Return
wait_gone "Program UUID"
use_window "demo.vkp - Velkora"
keys ctrl+s
saved() { [ "$(project_json "$project" | jq -r '.product.uuid')" == "$new_uuid" ]; }
wait_until "the saved program UUID" saved
json=$(project_json "$project")
expect_eq "$(jq -r '.product.version' <<<"$json")" "2.0" "version from Product Settings"
expect_eq "$(jq -r '.product.title' <<<"$json")" "Demo Product" "title after Product Settings"

# Build Self Creator writes the self creator with the product's new UUID.
keys alt+b b
wait_until "the self creator" package_ok "$creator"
"$cli" inspect "$creator" > creator.txt
grep -q '^  \[1\] vendor-setup.sh$' creator.txt || fail "the self creator lacks the setup: $(cat creator.txt)"
# Its product information entry carries the program UUID as text.
grep -q -a "$new_uuid" "$creator" || fail "the self creator does not carry the new UUID"
keys alt+f x
flow_wait_exit "after the second File > Exit"
expect_eq "$flow_status" 0 "second exit status"
grep -q "^File1=$project\$" "$XDG_CONFIG_HOME/velkora/velkora.conf" ||
  fail "the recent-file list does not start with the project"
flow_finish
