#!/usr/bin/env bash
# The Windows road of an affiliate's link, under wine64: velkora-cli.exe
# builds a custom setup for a small Windows setup program, the custom setup
# stores the link and starts the setup with its arguments unchanged, and
# velklink.dll hands the link to a product that loads it.
# Arguments: prefix velkora-cli.exe velklink.dll ArgsSetup.exe LinkProbe.exe work-folder
set -uo pipefail
prefix=$1 cli=$2 dll=$3 setup=$4 probe=$5 work=$6
export WINEPREFIX=$prefix WINEDEBUG=err+module WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { # expect WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then fail "$1: expected [$2], got [$3]"; else echo "ok: $1"; fi
}
winpath() { $wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }

rm -rf "$work" && mkdir -p "$work/bin" "$work/out"
cp "$dll" "$probe" "$work/bin/"
# The setup carries newline, carriage-return and end-of-file bytes behind its
# image, which must come out unchanged.
cp "$setup" "$work/ArgsSetup.exe" && printf 'tail\n\r\n\x1a\x00end' >>"$work/ArgsSetup.exe"

uuid=1B4E28BA-2FA1-11D2-883F-0016D3CCA427
user_uuid=7D444840-9DC0-11D1-B245-5FFDCE74FAD2
link="https://buy.example.com/p?a=1&affiliate=77"
project=$(winpath "$work/p.vkp")
cd "$work" || exit 1
$wine "$cli" new "$project" --title Demo --version 1.0 --website https://demo.example \
  --setup-file "$(winpath "$work/ArgsSetup.exe")" --output-dir "$(winpath "$work/out")" \
  --service RegNow --product-id 1234 >cli.log 2>&1 || fail "velkora-cli.exe new: $(cat cli.log)"
$wine "$cli" set-product "$project" --uuid "$uuid" >>cli.log 2>&1 || fail "set-product"
# The output folder holds a character of the ANSI code page beyond ASCII.
$wine "$cli" add-affiliate "$project" --name Ann --affiliate-id 77 --website https://ann.example \
  --purchase-link "$link" --setup-path "$(winpath "$work/out")\\café\\ann.exe" >>cli.log 2>&1 ||
  fail "add-affiliate: $(cat cli.log)"
$wine "$cli" build "$project" >>cli.log 2>&1 || fail "build: $(cat cli.log)"
package="$work/out/café/ann.exe"
[ -f "$package" ] || { fail "no custom setup at $package"; cat cli.log; exit 1; }
$wine "$cli" inspect "$(winpath "$package")" | tr -d '\r' >inspect.txt
grep -q "^Launcher:   Windows x64 (PE32+)" inspect.txt || fail "inspect names the launcher: $(cat inspect.txt)"
# serve is a Linux command: velkora-cli.exe refuses it as it refuses a failed command.
$wine "$cli" serve "$project" --listen 127.0.0.1:0 >serve.log 2>&1
expect "velkora-cli.exe serve refuses with status 1" 1 "$?"
grep -q '"serve" is a Linux command' serve.log || fail "serve's refusal: $(cat serve.log)"

# The setup started directly shows how wine hands these arguments over; the
# custom setup must hand the very same command-line tail on.
args=("a b" 'say "hi"' "" 'C:\dir with space\')
export VELKORA_TEST_ARGS_FILE
VELKORA_TEST_ARGS_FILE=$(winpath "$work/direct.txt")
$wine "$work/ArgsSetup.exe" "${args[@]}"
expect "exit status of the setup itself" 3 $?
VELKORA_TEST_ARGS_FILE=$(winpath "$work/launched.txt")
VELKORA_TEST_SELF_COPY=$(winpath "$work/extracted.exe") $wine "$package" "${args[@]}"
expect "exit status handed on by the launcher" 3 $?
expect "arguments as the setup split them" "$(printf '[a b]\n[say "hi"]\n[]\n[C:\\dir with space\\]')" \
  "$(grep '^\[' launched.txt 2>/dev/null)"
expect "command-line tail unchanged" "$(sed -n 's/^line=[^ ]* //p;s/^line="[^"]*" //p' direct.txt | head -1)" \
  "$(sed -n 's/^line=[^ ]* //p;s/^line="[^"]*" //p' launched.txt | head -1)"

cmp -s "$work/extracted.exe" "$work/ArgsSetup.exe" && echo "ok: payload extracted byte for byte" ||
  fail "extracted setup differs from the original"

key='HKLM\Software\Velkora\'$uuid
query=$($wine reg query "$key" /reg:32 2>/dev/null | tr -d '\r')
echo "$query" | grep -q "PurchaseLink.*REG_SZ.*$link" || fail "HKLM PurchaseLink: $query"
echo "$query" | grep -q "ResellerUrl.*REG_SZ.*https://ann.example" || fail "HKLM ResellerUrl: $query"

cd "$work/bin" || exit 1
probe_run() { $wine LinkProbe.exe "$@" | tr -d '\r'; }
n=$((${#link} + 1))
expect "velklink: the link" "0 $n $link" "$(probe_run "$uuid" 4096)"
expect "velklink: lower-case key" "0 $n $link" "$(probe_run "${uuid,,}" 4096)"
expect "velklink: exact size" "0 $n $link" "$(probe_run "$uuid" "$n")"
expect "velklink: one byte short" "3 $n -" "$(probe_run "$uuid" $((n - 1)))"
expect "velklink: null buffer" "0 $n -" "$(probe_run "$uuid" 0 null)"
expect "velklink: unknown product" "1 4096 -" "$(probe_run 00000000-0000-0000-0000-000000000000 4096)"
$wine reg add 'HKLM\Software\Velkora\NOVALUE' /v Other /d x /f /reg:32 >/dev/null 2>&1
expect "velklink: key without link" "2 4096 -" "$(probe_run NOVALUE 4096)"

# A vendor signs the custom setup after the build: it still stores the link
# and starts the setup, and inspect still lists it.
cd "$work" || exit 1
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
  -subj "/CN=Velkora test vendor" >/dev/null 2>&1 || fail "openssl made no certificate"
osslsigncode sign -certs cert.pem -key key.pem -in "$package" -out "$work/signed.exe" \
  >sign.log 2>&1 || fail "osslsigncode: $(cat sign.log)"
$wine reg delete "$key" /f /reg:32 >/dev/null 2>&1
VELKORA_TEST_ARGS_FILE=$(winpath "$work/signed.txt")
$wine "$work/signed.exe" x "y z"
expect "exit status of the signed custom setup" 3 $?
expect "arguments of the signed custom setup" "$(printf '[x]\n[y z]')" "$(grep '^\[' signed.txt 2>/dev/null)"
$wine reg query "$key" /reg:32 2>/dev/null | tr -d '\r' | grep -q "PurchaseLink.*$link" ||
  fail "the signed custom setup stored no link"
$wine "$cli" inspect "$(winpath "$work/signed.exe")" | tr -d '\r' | grep -q "^Entries (2)" ||
  fail "inspect does not list the signed custom setup"

# Without the rights for the machine-wide store the link goes to the user's.
cd "$work" || exit 1
$wine "$cli" set-product "$project" --uuid "$user_uuid" >>cli.log 2>&1 || fail "set-product"
# A build replaces only custom setups of the product's current UUID: the
# setups made under the old one are the vendor's to remove.
rm -rf "$work/out"
$wine "$cli" build "$project" >>cli.log 2>&1 || fail "second build: $(tail -5 cli.log)"
VELKORA_REFUSE_MACHINE_STORE=1 $wine "$package"
expect "exit status without machine-wide rights" 3 $?
$wine reg query 'HKLM\Software\Velkora\'$user_uuid /reg:32 >/dev/null 2>&1 &&
  fail "HKLM written although refused"
query=$($wine reg query 'HKCU\Software\Velkora\'$user_uuid /reg:32 2>/dev/null | tr -d '\r')
echo "$query" | grep -q "PurchaseLink.*REG_SZ.*$link" || fail "HKCU PurchaseLink: $query"
cd "$work/bin" || exit 1
expect "velklink: the user's link" "0 $n $link" "$(probe_run "$user_uuid" 4096)"

[ "$failures" -eq 0 ] && echo "all passed" || echo "$failures failure(s)"
exit $((failures > 0))
