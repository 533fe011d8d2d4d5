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
# wine-gui.sh ends the prefix's services, makes the display and enters work.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../windows/wine-gui.sh"

project="Z:$(realpath . | tr / '\\')\\p.vkp"
$wine "$folder/velkora-cli.exe" new "$project" --title Demo --version 1.0 \
  --website https://demo.example --setup-file Setup.exe --output-dir out --service RegNow \
  --product-id 1234 </dev/null >cli.log 2>&1 || { fail "velkora-cli.exe new: $(cat cli.log)"; finish; }

$wine "$folder/velkora.exe" "$project" </dev/null >wine.log 2>&1 &
pids+=($!)
main=$(window '^p.vkp - Velkora$')
expect "the installed velkora.exe's main window" "p.vkp - Velkora" \
  "$([ -n "$main" ] && xdotool getwindowname "$main")"
finish
