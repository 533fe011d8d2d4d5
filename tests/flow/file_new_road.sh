#!/usr/bin/env bash
# A vendor opens an existing project from the command line (no Welcome), then
# starts another with File > New: the wizard to Finish, "Hints" answered No,
# Save As under a new name. The first project stays as it was.
# Usage: file_new_road.sh VELKORA VELKORA_CLI
set -u
velkora=$(realpath "$1")
cli=$(realpath "$2")
source "$(dirname "$(realpath "$0")")/FlowDriver.sh"
flow_setup

printf '#!/bin/sh\necho "ran with: $*"\n' > vendor-setup.sh
chmod +x vendor-setup.sh
"$cli" new first.vkp --title First --version 1.0 --website https://first.example \
  --setup-file vendor-setup.sh --output-dir out --service ShareIt --product-id 300871 >/dev/null ||
  abort "velkora-cli new"
"$cli" add-affiliate first.vkp --name Dora --affiliate-id do-1 >/dev/null || abort "add-affiliate"
before=$(sha256sum first.vkp)

flow_start first.vkp
use_window "first.vkp - Velkora"
window_shown "Welcome" && fail "the Welcome dialog opened although a file was given"

keys ctrl+n
run_wizard "Second" "2.5" "https://second.example" "$work/vendor-setup.sh" "$work/out2" "" 99
use_window "Hints"
keys alt+n # No: no affiliate now
wait_gone "Hints"
use_window "Untitled - Velkora"
window_shown "Affiliate Property" && fail "the affiliate dialog opened after No"
keys ctrl+s
use_window "Save As"
type_text "$work/second.vkp"; keys Return
wait_file "$work/second.vkp"
wait_until "the main window titled after the new file" window_shown "second.vkp - Velkora"

json=$(project_json "$work/second.vkp")
expect_eq "$(jq -r '.product.title' <<<"$json")" "Second" "product name"
expect_eq "$(jq -r '.product.version' <<<"$json")" "2.5" "version"
expect_eq "$(jq -r '.product.selfCreatorPath' <<<"$json")" "" "self creator path left empty"
expect_eq "$(jq -r '.affiliates | length' <<<"$json")" 0 "affiliates of the new project"
expect_eq "$(jq -c '[.registrationInfo[] | .serviceName, .productId, .purchaseLink]' <<<"$json")" \
  '["RegNow","99","https://www.regnow.com/softsell/nph-softsell.cgi?item=99"]' "registration info"
first_uuid=$(project_json first.vkp | jq -r '.product.uuid')
[ "$(jq -r '.product.uuid' <<<"$json")" != "$first_uuid" ] || fail "the new project kept the old UUID"
expect_eq "$(sha256sum first.vkp)" "$before" "the first project's file"

keys alt+f x
flow_wait_exit "after File > Exit"
expect_eq "$flow_status" 0 "exit status"
flow_finish
