#!/usr/bin/env bash
# Checks the Windows images without running them (the i686 ones cannot run
# here): format, subsystem, imports and exports, as objdump reads them.
# Arguments: i686-build-folder x86_64-build-folder
set -uo pipefail
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
objdump=x86_64-w64-mingw32-objdump
# DLLs every Windows installation has; anything else would have to travel along.
system_dlls='^(KERNEL32|ADVAPI32|SHELL32|USER32|GDI32|COMCTL32|COMDLG32|msvcrt|ole32|RPCRT4|api-ms-win-crt-[a-z0-9-]+)\.dll$'

check() { # check FILE FORMAT SUBSYSTEM
  local file=$1 format=$2 subsystem=$3 info
  [ -f "$file" ] || { fail "$file is missing"; return; }
  info=$($objdump -p "$file")
  grep -q "file format $format" <<<"$info" || fail "$file is not $format"
  grep -q "Subsystem.*($subsystem)" <<<"$info" || fail "$file: subsystem is not $subsystem"
  while read -r dll; do
    [[ ${dll,,} =~ ${system_dlls,,} ]] || fail "$file imports $dll"
  done < <(sed -n 's/^\s*DLL Name: //p' <<<"$info")
  echo "$(basename "$file") ($format): $(stat -c %s "$file") bytes"
}

exports() { # exports DLL: the names of its export table
  $objdump -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[\s*[0-9]*\] //p'
}

for arch in i686:pei-i386 x86_64:pei-x86-64; do
  dir=${arch%%:*}
  folder=$1
  [ "$dir" = x86_64 ] && folder=$2
  check "$folder/setupstub/setupstub.exe" "${arch#*:}" "Windows GUI"
  check "$folder/velklink/velklink.dll" "${arch#*:}" "Windows CUI"
  names=$(exports "$folder/velklink/velklink.dll")
  [ "$names" = velkGetAffiliatePurchaseLink ] || fail "$dir velklink.dll exports [$names]"
  # It ships inside vendors' products: no debug data, no symbol table.
  $objdump -h "$folder/velklink/velklink.dll" | grep -q '\.debug_' &&
    fail "$dir velklink.dll carries debug sections"
  # The Windows programs call the wide functions: no narrow file or registry call.
  for image in velklink/velklink.dll setupstub/setupstub.exe selfkit/win32/selfkit.exe \
               ui/win32/velkora.exe; do
    narrow=$($objdump -p "$folder/$image" | grep -oE '\b(CreateFileA|RegOpenKeyExA|RegQueryValueExA|RegSetValueExA|RegCreateKeyExA|ShellExecuteExA|CreateProcessA|GetModuleFileNameA|MessageBoxA|DialogBoxParamA|CreateWindowExA|GetOpenFileNameA|GetSaveFileNameA|SHBrowseForFolderA)\b' | sort -u | tr '\n' ' ')
    [ -z "$narrow" ] || fail "$dir $image imports narrow functions: $narrow"
  done
  manifest=$(strings "$folder/setupstub/setupstub.exe" | grep -c 'requestedExecutionLevel level="asInvoker"')
  [ "$manifest" -ge 1 ] || fail "$dir setupstub.exe carries no asInvoker manifest"
  # The self creator: a window of its own, no runtime DLLs; the launcher it
  # carries as template 130 is checked by windows_selfkit_resource_tests.
  check "$folder/selfkit/win32/selfkit.exe" "${arch#*:}" "Windows GUI"
  # The desktop program: a window of its own, no runtime DLLs, the common
  # controls 6, as invoked, aware of each monitor's resolution.
  desktop=$folder/ui/win32/velkora.exe
  check "$desktop" "${arch#*:}" "Windows GUI"
  texts=$(strings "$desktop")
  for line in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
              'requestedExecutionLevel level="asInvoker"' 'PerMonitorV2'; do
    grep -qF "$line" <<<"$texts" || fail "$dir velkora.exe: the manifest lacks $line"
  done
done
check "$2/cli/velkora-cli.exe" pei-x86-64 "Windows CUI"
narrow=$($objdump -p "$2/cli/velkora-cli.exe" | grep -oE '\b(CreateFileA|MoveFileExA|RegOpenKeyExA|ShellExecuteExA|CreateProcessA|GetFullPathNameA)\b' | sort -u | tr '\n' ' ')
[ -z "$narrow" ] || fail "velkora-cli.exe imports narrow functions: $narrow"
[ "$failures" -eq 0 ] && echo "all passed"
exit $((failures > 0))
