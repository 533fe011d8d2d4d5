#!/usr/bin/env bash
# Names in any language on the whole road of an affiliate's link, the same
# table on Linux and under wine64: add-affiliate -> save -> show --json ->
# build -> the package's information file -> the custom setup run with a
# non-ASCII argument -> the stored link -> velklink; run-setup -- ARGS; a
# project in the Windows-1252 code page read and converted; under wine64 also
# a project written on one system read on the other.
# Arguments:
#   linux WORK velkora-cli velklink_demo
#   wine  WORK velkora-cli.exe LinkProbe.exe ArgsSetup.exe PREFIX velklink.dll velkora-cli(Linux)
set -uo pipefail
# Arguments and file names cross to wine and the tools as UTF-8.
export LC_ALL=C.UTF-8
mode=$1 work=$2 cli=$3 probe=$4
here=$(cd "$(dirname "$0")" && pwd)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { # expect WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then fail "$1: expected [$2], got [$3]"; else echo "ok: $1"; fi
}
json() { python3 -c "import json,sys; d=json.load(sys.stdin); print($1)"; }
rm -rf "$work" && mkdir -p "$work/out" "$work/bin"
cd "$work" || exit 1

names=("Zoë Müller" "日本語ソフト" "Ωmega" "😀" "CON" "name." "a b&c=d")
setup_arg='é日本 "q"'
uuid=1B4E28BA-2FA1-11D2-883F-0016D3CCA427

if [ "$mode" = wine ]; then
  setup=$5 prefix=$6 dll=$7 linux_cli=$8
  export WINEPREFIX=$prefix WINEDEBUG=err+module WINEDLLOVERRIDES="mscoree,mshtml="
  wine=/usr/lib/wine/wine64
  sys_path() { $wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
  run_cli() { $wine "$cli" "$@"; }
  run_package() { $wine "$@"; }
  read_link() { (cd bin && $wine LinkProbe.exe "$uuid" 4096 | tr -d '\r' | sed -n 's/^0 [0-9]* //p'); }
  cp "$dll" "$probe" bin/
  cp "$setup" Tidy.exe
  base=Tidy ext=.exe
else
  export VELKORA_STORE_DIR=$work/store VELKORA_USER_STORE_DIR=$work/user
  mkdir -p "$VELKORA_STORE_DIR" "$VELKORA_USER_STORE_DIR"
  sys_path() { printf '%s' "$1"; }
  run_cli() { "$cli" "$@"; }
  run_package() { "$@"; }
  read_link() { "$probe" "$uuid" 2>/dev/null; }
  # The vendor's setup: writes each argument between braces, exits with 3.
  cat >tidy <<'SETUP'
#!/bin/sh
: >"$VELKORA_TEST_ARGS_FILE"
for a in "$@"; do printf '{%s}\n' "$a" >>"$VELKORA_TEST_ARGS_FILE"; done
exit 3
SETUP
  chmod +x tidy
  base=tidy ext=
fi
project=$(sys_path "$work/p.vkp")
legacy=$(sys_path "$work/legacy.vkp")
setup_file=$(sys_path "$work/$base$ext")
VELKORA_TEST_ARGS_FILE=$(sys_path "$work/args.txt")
export VELKORA_TEST_ARGS_FILE
args_seen() { grep '^{' "$work/args.txt" 2>/dev/null | tr -d '\r'; }

run_cli new "$project" --title Tidy --version 1.0 --website https://tidy.example \
  --setup-file "$setup_file" --output-dir out --service RegNow --product-id 1234 >cli.log 2>&1 ||
  fail "new: $(cat cli.log)"
run_cli set-product "$project" --uuid "$uuid" >>cli.log 2>&1 || fail "set-product: $(cat cli.log)"
for n in "${names[@]}"; do
  run_cli add-affiliate "$project" --name "$n" --affiliate-id "$n" \
    --website "https://shop.example/$n" >>cli.log 2>&1 || fail "add-affiliate $n: $(cat cli.log)"
done
run_cli show "$project" --json | tr -d '\r' >show.json
python3 "$here/names-road-check.py" show.json "$base" "$ext" "${names[@]}" >names.txt 2>check.log ||
  fail "show --json: $(cat check.log)"
[ -s names.txt ] || { echo "no affiliates to follow"; exit 1; }

run_cli build "$project" >build.log 2>&1 || fail "build: $(tail -3 build.log)"
while IFS=$'\t' read -r _ file link site; do
  package=$work/out/$file
  [ -f "$package" ] || { fail "no custom setup $file"; continue; }
  expect "information file of $file" "$link|$site" \
    "$(run_cli inspect "$(sys_path "$package")" --json | tr -d '\r' |
      json 'd["affiliate"]["purchaseLink"]+"|"+d["affiliate"]["webSite"]')"
  rm -f "$work/args.txt"
  run_package "$package" "$setup_arg" x
  expect "exit status of $file" 3 $?
  expect "arguments reaching the setup of $file" "$(printf '{%s}\n{x}' "$setup_arg")" "$(args_seen)"
  expect "velklink after $file" "$link" "$(read_link)"
done <names.txt

# run-setup hands the words after -- to the setup.
rm -f "$work/args.txt"
run_cli run-setup "$project" 0 --quiet -- "$setup_arg" "y z" >run.log 2>&1 ||
  fail "run-setup: $(cat run.log)"
for _ in $(seq 1 100); do grep -q '^{y z}' "$work/args.txt" 2>/dev/null && break; sleep 0.1; done
expect "run-setup -- ARGS" "$(printf '{%s}\n{y z}' "$setup_arg")" "$(args_seen)"

# A project whose texts are in the Windows-1252 code page: read, converted,
# said once on standard error; the next save stores UTF-8.
run_cli new "$legacy" --title "Caf#" --version 1 --website w --setup-file "$setup_file" \
  --output-dir out --service RegNow --product-id 9 >>cli.log 2>&1 || fail "new legacy"
run_cli add-affiliate "$legacy" --name "Zo# M#ller" --affiliate-id 7 >>cli.log 2>&1 ||
  fail "add-affiliate legacy"
python3 -c '
import sys
p = sys.argv[1]
b = open(p, "rb").read().replace(b"Zo# M#ller", b"Zo\xeb M\xfcller").replace(b"Caf#", b"Caf\xe9")
open(p, "wb").write(b)' "$work/legacy.vkp"
expect "Windows-1252 texts converted" "Café|Zoë Müller" \
  "$(run_cli show "$legacy" --json 2>legacy.err | tr -d '\r' |
    json 'd["product"]["title"]+"|"+d["affiliates"][0]["name"]')"
expect "said once on standard error" 1 "$(grep -c 'Windows-1252' legacy.err)"
run_cli set-product "$legacy" --version 2 >/dev/null 2>&1 || fail "save legacy"
grep -qa "Zoë Müller" legacy.vkp || fail "the saved project does not hold UTF-8"
run_cli show "$legacy" >/dev/null 2>legacy2.err
[ -s legacy2.err ] && fail "a saved project is still read as Windows-1252: $(cat legacy2.err)"

# The same project file read by the other system gives the same texts.
if [ "$mode" = wine ]; then
  texts='json.dumps([[a[k] for k in ("name","affiliateId","purchaseLink","webSite")] for a in d["affiliates"]])'
  expect "written on Windows, read on Linux" "$(json "$texts" <show.json)" \
    "$("$linux_cli" show "$work/p.vkp" --json 2>/dev/null | json "$texts")"
  "$linux_cli" new "$work/from-linux.vkp" --title T --version 1 --website w --setup-file s \
    --output-dir out --service RegNow --product-id 1234 >/dev/null 2>&1 || fail "Linux new"
  for n in "${names[@]}"; do
    "$linux_cli" add-affiliate "$work/from-linux.vkp" --name "$n" --affiliate-id "$n" \
      --website "https://shop.example/$n" >/dev/null 2>&1 || fail "Linux add-affiliate $n"
  done
  expect "written on Linux, read on Windows" \
    "$("$linux_cli" show "$work/from-linux.vkp" --json | json "$texts")" \
    "$(run_cli show "$(sys_path "$work/from-linux.vkp")" --json 2>/dev/null | tr -d '\r' |
      json "$texts")"
fi

[ "$failures" -eq 0 ] && echo "all passed" || echo "$failures failure(s)"
exit $((failures > 0))
