#!/usr/bin/env bash
# An MSI package read back without installing it: its tables (msiinfo), its
# files (msiextract), the machine type of its programs and its SDK folder.
# Arguments: arch msi source-dir sdk-dir desktop-exe work-folder
# velkora.exe is expected in the package when desktop-exe exists.
set -uo pipefail
arch=$1 msi=$2 src=$3 sdk=$4 desktop=$5 work=$6
source "$(dirname "$0")/msi-common.sh"

rm -rf "$work" && mkdir -p "$work" || exit 1
[ -f "$msi" ] || { echo "FAIL: no $msi"; exit 1; }
case $arch in
x86_64) pe=pei-x86-64 template='x64;1033' programs=ProgramFiles64Folder component_attributes=256 ;;
i686) pe=pei-i386 template='Intel;1033' programs=ProgramFilesFolder component_attributes=0 ;;
*) echo "FAIL: unknown machine type $arch"; exit 1 ;;
esac
with_desktop=no
[ -f "$desktop" ] && with_desktop=yes
table() { msiinfo export "$msi" "$1" 2>/dev/null | tail -n +4 | tr -d '\r' | sort; }
row() { # row TABLE COLUMN VALUE: the rows whose COLUMN (1-based) is VALUE
  table "$1" | awk -F'\t' -v c="$2" -v v="$3" '$c == v'
}

expect "summary template" "Template: $template" "$(msiinfo suminfo "$msi" | grep '^Template:')"
for property in "ProductName	Velkora" "Manufacturer	The Velkora developers" \
  "ProductVersion	$VELKORA_MSI_VERSION" "ALLUSERS	1" "UpgradeCode	{$VELKORA_UPGRADE_CODE}" \
  "ARPPRODUCTICON	velkora.ico"; do
  expect "property ${property%%	*}" "$property" "$(row Property 1 "${property%%	*}")"
done
expect "install folder" "INSTALLDIR	$programs	Velkora" "$(row Directory 1 INSTALLDIR)"
expect "SDK folder" "SDKDIR	INSTALLDIR	sdk" "$(row Directory 1 SDKDIR)"
expect "components of other machine types" "" \
  "$(table Component | awk -F'\t' -v a="$component_attributes" '$4 != a')"

# Major upgrade: every older version is found and removed, a newer one
# refuses the install.
expect "upgrade rows" "{$VELKORA_UPGRADE_CODE}		$VELKORA_MSI_VERSION		1		WIX_UPGRADE_DETECTED
{$VELKORA_UPGRADE_CODE}	$VELKORA_MSI_VERSION			2		WIX_DOWNGRADE_DETECTED" "$(table Upgrade)"
expect "old products removed" "RemoveExistingProducts" \
  "$(table InstallExecuteSequence | cut -f1 | grep -x RemoveExistingProducts)"

# The files, by folder; velkora.exe and its shortcut only when it is built.
files="Velkora/LICENSE.txt
Velkora/VelkCli.html
Velkora/VelkHelp.html
Velkora/VelkStart.html
$(cd "$src/docs/images" && ls -1 ./*.png | sed 's|^\./|Velkora/|')
Velkora/sdk/README.txt
Velkora/sdk/libvelklink.dll.a
Velkora/sdk/velklink.def
Velkora/sdk/velklink.dll
Velkora/sdk/velklink.h
Velkora/velkora-cli.exe
Velkora/velkora-project.ico"
[ $with_desktop = yes ] && files="$files
Velkora/velkora.exe"
# msiextract names the 32-bit Program Files folder and leaves out the 64-bit one.
expect "files" "$(echo "$files" | LC_ALL=C sort)" \
  "$(msiextract -l "$msi" | sed 's|^Program Files/||' | LC_ALL=C sort)"

if [ $with_desktop = yes ]; then
  expect "Start menu shortcut" "StartMenuVelkora	ProgramMenuFolder	Velkora	Desktop	Complete" \
    "$(table Shortcut | cut -f1-5)"
  open_verb=$(printf '0\tVelkora.Project\\shell\\open\\command\t\t"[#VelkoraExe]" "%%1"')
else
  expect "Start menu shortcut" "" "$(table Shortcut)"
  open_verb=""
fi
# The ".vkp" association: written under HKEY_CLASSES_ROOT (root 0), removed
# with its component.
association=$(printf '%s\n' \
  "0	.vkp		Velkora.Project" \
  "0	.vkp	Content Type	application/x-velkora-project" \
  "0	Velkora.Project		Velkora Project" \
  "0	Velkora.Project\\DefaultIcon		[#ProjectIcon],0" \
  "$open_verb" | sed '/^$/d' | LC_ALL=C sort)
expect "association rows" "$association" \
  "$(table Registry | grep -v '\\shell\\open	' | cut -f2-5 | LC_ALL=C sort)"

# The programs and the SDK of this machine type; the SDK folder of the build
# tree is the one in the package.
msiextract -C "$work" "$msi" >/dev/null || fail "msiextract"
root=$work/Velkora
[ -d "$work/Program Files/Velkora" ] && root="$work/Program Files/Velkora"
# They need only the system's DLLs: the C++ runtime is linked in.
for program in velkora-cli.exe sdk/velklink.dll $([ $with_desktop = yes ] && echo velkora.exe); do
  expect "$program machine type" "$pe" \
    "$(objdump -f "$root/$program" 2>/dev/null | sed -n 's/.*file format //p')"
  expect "$program's runtime DLLs" "" \
    "$(objdump -p "$root/$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | grep -i '^lib')"
done
expect "velklink.dll exports" "velkGetAffiliatePurchaseLink" \
  "$(objdump -p "$root/sdk/velklink.dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    awk '/^[[:space:]]+\[ *[0-9]+\]/ { print $NF }')"
for file in velklink.h velklink.def; do
  cmp -s "$src/velklink/$file" "$root/sdk/$file" || fail "sdk/$file differs from velklink/$file"
done
for file in velklink.dll libvelklink.dll.a README.txt velklink.h velklink.def; do
  cmp -s "$sdk/$file" "$root/sdk/$file" || fail "the build tree's SDK $file differs"
done
# So do the launchers and self creators that the programs carry, when they
# come from a build of the package's own (VELKORA_MSI_EMBEDDED).
for image in ${VELKORA_MSI_EMBEDDED:-}; do
  expect "$(basename "$image") of the programs: runtime DLLs" "" \
    "$(objdump -p "$image" | sed -n 's/^[[:space:]]*DLL Name: //p' | grep -i '^lib')"
done
check_sdk_readme "$root/sdk/README.txt" "$src/velklink/velklink.h" "$arch"

finish
