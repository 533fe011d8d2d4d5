#!/usr/bin/env bash
# Custom setups of real Windows installers as end users meet them, under
# wine64: an NSIS installer (64-bit) and MSI databases made here by makensis
# and wixl. The custom setups are named .exe; the NSIS one shows the
# installer's icon and version (read back with the tests' PE resource reader),
# runs it with the arguments unchanged and returns its status. An MSI gets the
# launcher of its platform; the x64 one, run elevated (wine's user is an
# administrator), installs from the product's cache folder under the program
# data, which the product's registered source names and which keeps one
# package, the newest.
# Arguments: prefix velkora-cli resource-dump work-folder
set -uo pipefail
prefix=$1 cli=$2 dump=$3 work=$4
export WINEPREFIX=$prefix WINEDEBUG=err+module WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { # expect WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then fail "$1: expected [$2], got [$3]"; else echo "ok: $1"; fi
}
for tool in makensis wixl; do
  command -v $tool >/dev/null || { echo "FAIL: $tool is not installed (scripts/setup-deps)"; exit 1; }
done
rm -rf "$work" && mkdir -p "$work/out" && cd "$work" || exit 1

cat >tidy.nsi <<'NSI'
Unicode true
Target amd64-unicode
!include FileFunc.nsh
Name "Tidy"
OutFile "TidySetup.exe"
RequestExecutionLevel user
SilentInstall silent
Icon "${NSISDIR}\Contrib\Graphics\Icons\arrow-install.ico"
VIProductVersion "1.2.3.4"
VIAddVersionKey "ProductName" "Tidy"
VIAddVersionKey "CompanyName" "Tidy Ltd"
VIAddVersionKey "LegalCopyright" "Tidy Ltd"
VIAddVersionKey "FileVersion" "1.2.3.4"
VIAddVersionKey "FileDescription" "Tidy Setup"
Section
  ${GetParameters} $0
  ReadEnvStr $1 TIDY_ARGS_FILE
  FileOpen $2 $1 w
  FileWrite $2 "{$0}"
  FileClose $2
  SetErrorLevel 7
SectionEnd
NSI
makensis -V1 tidy.nsi >nsis.log 2>&1 || { fail "makensis: $(cat nsis.log)"; exit 1; }

echo "Tidy" >readme.txt
# msi NAME PRODUCT-CODE VERSION [wixl options]: an MSI installing readme.txt.
msi() {
  cat >"$1.wxs" <<WXS
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="$2" Name="Tidy" Language="1033" Version="$3"
           Manufacturer="Tidy Ltd" UpgradeCode="0B1C2D3E-4F50-4617-8293-A4B5C6D7E8F9">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine"/>
    <Media Id="1" Cabinet="tidy.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFilesFolder">
        <Directory Id="INSTALLDIR" Name="Tidy">
          <Component Id="Main" Guid="1A2B3C4D-5E6F-4071-8293-A4B5C6D7E8FA">
            <File Id="ReadMe" Source="readme.txt"/>
          </Component>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Complete" Level="1"><ComponentRef Id="Main"/></Feature>
  </Product>
</Wix>
WXS
  local name=$1
  shift 3
  wixl "$@" -o "$name.msi" "$name.wxs" >wixl.log 2>&1 || { fail "wixl $name: $(cat wixl.log)"; exit 1; }
}
code1=6F2A7E3C-1D4B-4C5A-9E8F-2B3C4D5E6F70 code2=6F2A7E3C-1D4B-4C5A-9E8F-2B3C4D5E6F71
msi Tidy $code1 1.0.0
msi Tidy64 $code1 1.0.0 -a x64
msi Tidy64-1.1 $code2 1.1.0 -a x64

# project NAME SETUP: a project whose affiliate Ann gets the derived setup path.
project() {
  "$cli" new "$1.vkp" --title Tidy --version 1.0 --website https://tidy.example --setup-file "$2" \
    --output-dir out --service RegNow --product-id 1 >>cli.log 2>&1 || fail "new $1"
  "$cli" add-affiliate "$1.vkp" --name Ann --affiliate-id 5 >>cli.log 2>&1 || fail "add $1"
  "$cli" build "$1.vkp" --quiet >>cli.log 2>&1 || fail "build $1: $(cat cli.log)"
  "$cli" show "$1.vkp" --json | grep -o '"setupPath": *"[^"]*"' | sed 's/.*"\([^"]*\)"$/\1/'
}

# The NSIS installer: an .exe that shows the vendor's icon and version.
expect "NSIS custom setup's name" "out/TidySetup_Ann.exe" "$(project nsis TidySetup.exe)"
nsis=out/TidySetup_Ann.exe
[ -f "$nsis" ] || { fail "no $nsis"; exit 1; }
group=$("$dump" TidySetup.exe 14 103) || fail "the NSIS installer has no icon group 103"
expect "icon group" "$group" "$("$dump" "$nsis" 14 103)"
expect "version information" "$("$dump" TidySetup.exe 16 1)" "$("$dump" "$nsis" 16 1)"
expect "icon 1" "$("$dump" TidySetup.exe 3 1)" "$("$dump" "$nsis" 3 1)"
[ -n "$("$dump" TidySetup.exe 16 1)" ] || fail "the NSIS installer has no version information"

TIDY_ARGS_FILE='C:\tidy-args.txt' WINEDEBUG=-all $wine "$nsis" one 'two words' \
  </dev/null >/dev/null 2>&1
expect "NSIS installer's status through the custom setup" 7 "$?"
expect "arguments reaching the NSIS installer" '{one "two words"}' \
  "$(tr -d '\0' <"$prefix/drive_c/tidy-args.txt" 2>/dev/null)"

# MSI databases: .exe files whose launcher is of the database's platform.
launcher() { "$cli" inspect "$1" --json | grep -o '"launcher": *"[^"]*"' | sed 's/.*"\([^"]*\)"$/\1/'; }
expect "MSI custom setup's name" "out/Tidy_Ann.exe" "$(project msi Tidy.msi)"
expect "launcher of an Intel MSI" "Windows x86 (PE32)" "$(launcher out/Tidy_Ann.exe)"
expect "x64 MSI custom setup's name" "out/Tidy64_Ann.exe" "$(project msi64 Tidy64.msi)"
expect "launcher of an x64 MSI" "Windows x64 (PE32+)" "$(launcher out/Tidy64_Ann.exe)"

# The x64 one installs from the cache folder. A folder another user made there
# beforehand, open to everyone and holding a file, is taken over and emptied.
uuid=$("$cli" show msi64.vkp --json | grep -o '"uuid": *"[^"]*"' | sed 's/.*"\([^"]*\)"$/\1/')
cache="$prefix/drive_c/ProgramData/Velkora/$uuid"
mkdir -p "$cache" && chmod 777 "$cache" && echo planted >"$cache/old.msi"
WINEDEBUG=-all $wine out/Tidy64_Ann.exe /qn </dev/null >msi.log 2>&1
expect "msiexec's status through the custom setup" 0 "$?"
expect "the cache folder's content" "Tidy64.msi" "$(ls "$cache" 2>&1)"
cmp -s Tidy64.msi "$cache/Tidy64.msi" || fail "the cached MSI differs from the setup"
# Wine turns the folder's descriptor into Unix modes: others keep no right to
# write (tests/platform/CacheFolderTest.cpp reads the descriptor itself).
for made in "$cache" "$cache/.." "$cache/Tidy64.msi"; do
  [ $((0$(stat -c %a "$made") & 2)) -eq 0 ] || fail "others may write $made"
done
# wixl's x64 databases keep ProgramFilesFolder, the 32-bit program files.
[ -f "$prefix/drive_c/Program Files (x86)/Tidy/readme.txt" ] || fail "the MSI did not install readme.txt"

# squash GUID: the form Windows Installer keys products by.
squash() {
  local g=${1//-/} out
  out=$(rev <<<"${g:0:8}")$(rev <<<"${g:8:4}")$(rev <<<"${g:12:4}")
  for i in 16 18 20 22 24 26 28 30; do out+=${g:i+1:1}${g:i:1}; done
  echo "$out"
}
# value KEY NAME: a registry value's data as wine's reg prints it.
value() { WINEDEBUG=-all $wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
folder='C:\ProgramData\Velkora\'$uuid'\'
installer='HKLM\Software\Microsoft\Windows\CurrentVersion\Installer'
registered() { # registered PRODUCT-CODE: the install source and the last used source
  local squashed
  squashed=$(squash "$1")
  expect "InstallSource of $1" "$folder" \
    "$(value "$installer"'\UserData\S-1-5-18\Products\'"$squashed"'\InstallProperties' InstallSource)"
  # "n;<index in the source list>;<folder>": a network or local folder.
  expect "LastUsedSource of $1" "n;$folder" \
    "$(value 'HKLM\Software\Classes\Installer\Products\'"$squashed"'\SourceList' LastUsedSource |
      sed 's/^n;[0-9]*;/n;/')"
}
registered $code1

# A newer build of the product replaces the older package in the folder.
"$cli" set-product msi64.vkp --setup-file Tidy64-1.1.msi >>cli.log 2>&1 || fail "set-product"
"$cli" build msi64.vkp --quiet >>cli.log 2>&1 || fail "build msi64 1.1: $(cat cli.log)"
WINEDEBUG=-all $wine out/Tidy64_Ann.exe /qn </dev/null >>msi.log 2>&1
expect "msiexec's status for the newer build" 0 "$?"
expect "the cache folder after the newer build" "Tidy64-1.1.msi" "$(ls "$cache" 2>&1)"
registered $code2

[ "$failures" -eq 0 ] && echo "all passed"
exit $((failures > 0))
