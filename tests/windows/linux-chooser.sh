#!/usr/bin/env bash
# A Linux velkora-cli picks the launcher by the product's setup file: a PE32
# setup gets the i686 Windows launcher, a PE32+ one the x86_64 launcher, a
# shell script the Linux launcher. Arguments: velkora-cli linux-setupstub
# i686-setupstub.exe x86_64-setupstub.exe pe32-setup pe32plus-setup work
set -uo pipefail
cli=$1 linux=$2 win32=$3 win64=$4 pe32=$5 pe64=$6 work=$7
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
rm -rf "$work" && mkdir -p "$work"
printf '#!/bin/sh\nexit 0\n' >"$work/setup.sh"
for case in "$pe32:$win32:Windows x86 (PE32)" "$pe64:$win64:Windows x64 (PE32+)" \
            "$work/setup.sh:$linux:Linux (ELF)"; do
  IFS=: read -r setup image name <<<"$case"
  project=$work/p.vkp
  "$cli" new "$project" --title T --version 1 --website https://w.example --setup-file "$setup" \
    --output-dir "$work/out" --service RegNow --product-id 1 --force >/dev/null || fail "new"
  "$cli" add-affiliate "$project" --name A --affiliate-id 5 --setup-path "$work/out/a.bin" \
    >/dev/null || fail "add-affiliate"
  "$cli" build "$project" --quiet >/dev/null || fail "build for $setup"
  size=$(stat -c %s "$image")
  cmp -s -n "$size" "$image" "$work/out/a.bin" || fail "$(basename "$setup"): not $image"
  "$cli" inspect "$work/out/a.bin" | grep -qF "Launcher:   $name" || fail "inspect: not $name"
  rm -f "$work/out/a.bin"
done
[ "$failures" -eq 0 ] && echo "all passed"
exit $((failures > 0))
