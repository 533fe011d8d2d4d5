#!/usr/bin/env bash
# The x86_64 MSI package installed, upgraded and removed by msiexec under
# wine64, in the test run's prefix: the files under Program Files, the
# ".vkp" association, one "Uninstall" entry; a newer build (same upgrade
# code, the next version, written here by build-msi.cmake) replaces the
# installed one, the older one is then refused, and removing the newer one
# leaves no file and no association behind.
# Arguments: prefix msi program-version msi-version next-msi-version work-folder
#            -- build-msi.cmake arguments
set -uo pipefail
prefix=$1 msi=$2 version=$3 msi_version=$4 next=$5 work=$6
shift 6
[ "$1" = "--" ] && shift
source "$(dirname "$0")/msi-common.sh"
export WINEPREFIX=$prefix WINEDEBUG=err+module WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
folder="$prefix/drive_c/Program Files/Velkora"
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
# Copies with plain names: msiexec is given Windows paths of drive Z.
cp "$msi" velkora.msi || exit 1
winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
msiexec() { # msiexec LOG ARGUMENT...: msiexec's status
  local log=$1
  shift
  $wine msiexec "$@" /qn /l*v "$(winpath .)\\$log" </dev/null >>wine.log 2>&1
}
value() { # value KEY NAME: the registry value's data, or nothing (names may hold spaces)
  $wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '{
    sub(/^[ \t]+/, "")
    if (index($0, n) == 1 && substr($0, length(n) + 1) ~ /^[ \t]+REG_/) {
      rest = substr($0, length(n) + 1)
      sub(/^[ \t]+REG_[A-Z_]+[ \t]+/, "", rest)
      print rest
    }
  }'
}
default_value() { # value KEY: the key's default value
  $wine reg query "$1" /ve 2>/dev/null | tr -d '\r' |
    awk '/REG_/ { sub(/^[ \t]*[^ \t]+[ \t]+REG_[A-Z_]+[ \t]+/, ""); print }'
}
entries() { # the "Uninstall" entries named Velkora, as "version publisher"
  local key
  for key in $($wine reg query "$uninstall" 2>/dev/null | tr -d '\r' | grep -o '{[0-9A-F-]*}$'); do
    [ "$(value "$uninstall\\$key" DisplayName)" = Velkora ] &&
      echo "$(value "$uninstall\\$key" DisplayVersion) $(value "$uninstall\\$key" Publisher)"
  done
}
shortcuts() { find "$prefix/drive_c" -name Velkora.lnk | grep -o 'Start Menu/.*'; }
installed_files() { (cd "$folder" 2>/dev/null && find . -type f | sed 's|^\./|Velkora/|' | LC_ALL=C sort); }
packaged_files() { msiextract -l "$1" | LC_ALL=C sort; }

# The first install.
expect "install's status" 0 "$(msiexec install.log /i velkora.msi; echo $?)"
expect "installed files" "$(packaged_files velkora.msi)" "$(installed_files)"
about=$($wine "$folder/velkora-cli.exe" --version </dev/null 2>>wine.log | tr -d '\r')
expect "installed velkora-cli.exe --version" "velkora-cli $version" "$(echo "$about" | head -1)"
expect "where --version points for the licence" \
  "Released under the MIT licence; see LICENSE.txt beside the program." "$(echo "$about" | sed -n 3p)"
expect "Uninstall entry" "$msi_version The Velkora developers" "$(entries)"
expect ".vkp type" "Velkora.Project" "$(default_value 'HKLM\Software\Classes\.vkp')"
expect ".vkp content type" "application/x-velkora-project" \
  "$(value 'HKLM\Software\Classes\.vkp' 'Content Type')"
expect "project icon" 'C:\Program Files\Velkora\velkora-project.ico,0' \
  "$(default_value 'HKLM\Software\Classes\Velkora.Project\DefaultIcon')"

# ---- velkora.exe, run only when it is packaged ----------------------------
# Its open verb is the ".vkp" files' command, its shortcut is in the Start
# menu, and the installed program opens a project given on its command line
# (its main window title appears).
if [ -f "$folder/velkora.exe" ]; then
  expect ".vkp open command" '"C:\Program Files\Velkora\velkora.exe" "%1"' \
    "$(default_value 'HKLM\Software\Classes\Velkora.Project\shell\open\command')"
  # Windows puts it in the Start menu of all users, wine in the installing one's.
  expect "Start menu shortcut" "Start Menu/Programs/Velkora.lnk" "$(shortcuts)"
  bash "$(dirname "$0")/msi-wine-window.sh" "$prefix" "$folder" "$work/window" ||
    fail "the installed velkora.exe did not open the project"
else
  echo "skipped: velkora.exe is not packaged (not built)"
fi
# ---------------------------------------------------------------------------

# A newer build replaces the installed one: one entry, of the new version.
cmake "$@" -DVERSION="$next" -DOUTPUT="$work/velkora-next.msi" -DWORK="$work/next" \
  -DSDK_DIR="$work/next-sdk" -P "$(dirname "$0")/../../packaging/windows/build-msi.cmake" \
  >>build.log 2>&1 || fail "build-msi.cmake $next: $(cat build.log)"
expect "newer product code" yes \
  "$([ "$(msiinfo export velkora-next.msi Property | grep ^ProductCode)" != \
    "$(msiinfo export velkora.msi Property | grep ^ProductCode)" ] && echo yes)"
expect "upgrade's status" 0 "$(msiexec upgrade.log /i velkora-next.msi; echo $?)"
expect "Uninstall entry after the upgrade" "$next The Velkora developers" "$(entries)"
expect "files after the upgrade" "$(packaged_files velkora-next.msi)" "$(installed_files)"
expect "velkora-cli.exe after the upgrade" "velkora-cli $version" \
  "$($wine "$folder/velkora-cli.exe" --version </dev/null 2>>wine.log | tr -d '\r' | head -1)"

# The older build does not replace the newer one.
status=$(msiexec downgrade.log /i velkora.msi; echo $?)
if [ "$status" -ne 0 ]; then
  echo "ok: older version refused ($status)"
else
  fail "the older version was installed over the newer one"
fi
expect "Uninstall entry after the refused downgrade" "$next The Velkora developers" "$(entries)"

# Removing it leaves nothing behind.
expect "removal's status" 0 "$(msiexec remove.log /x velkora-next.msi; echo $?)"
expect "files after removal" "" "$(installed_files)"
expect "install folder after removal" no "$([ -e "$folder" ] && echo yes || echo no)"
expect "Uninstall entries after removal" "" "$(entries)"
expect "shortcuts after removal" "" "$(shortcuts)"
for key in '.vkp' 'Velkora.Project'; do
  expect "HKLM\\Software\\Classes\\$key after removal" no \
    "$($wine reg query "HKLM\\Software\\Classes\\$key" >/dev/null 2>&1 && echo yes || echo no)"
done

[ "$failures" -eq 0 ] || { echo "--- wine output"; tail -20 wine.log; }
finish
