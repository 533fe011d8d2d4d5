#!/usr/bin/env bash
# Custom setups of real Windows installers as end users meet them, under
# wine64: an NSIS installer (64-bit) and an MSI database made here by
# makensis and wixl. The custom setups are named .exe; the NSIS one shows the
# installer's icon and version (read back with the tests' PE resource reader),
# runs it with the arguments unchanged and returns its status; the MSI one is
# an .exe as well.
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

product=6F2A7E3C-1D4B-4C5A-9E8F-2B3C4D5E6F70
echo "Tidy" >readme.txt
cat >tidy.wxs <<WXS
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="$product" Name="Tidy" Language="1033" Version="1.0.0"
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
wixl -o Tidy.msi tidy.wxs >wixl.log 2>&1 || { fail "wixl: $(cat wixl.log)"; exit 1; }

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

# The MSI database: an .exe as well; installed elevated from the cache folder.
expect "MSI custom setup's name" "out/Tidy_Ann.exe" "$(project msi Tidy.msi)"
# The MSI road itself (the installer cache) runs the 32-bit launcher, which
# this kind of machine cannot run; its name is checked here.
[ -f out/Tidy_Ann.exe ] || fail "no out/Tidy_Ann.exe"

[ "$failures" -eq 0 ] && echo "all passed"
exit $((failures > 0))
