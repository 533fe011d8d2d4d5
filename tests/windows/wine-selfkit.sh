#!/usr/bin/env bash
# The Windows self creator along an affiliate's road, under wine64: a Linux
# velkora-cli writes the self creator of a product whose setup is a small
# Windows program; the self creator, run from a batch file with options,
# builds the affiliate's custom setup without a window and tells the batch
# file how it went (messages, exit status); the custom setup stores the
# composed link and velklink.dll hands it to the product. A 32-bit setup gets
# the 32-bit self creator (checked by its bytes: it cannot run here).
# Arguments: prefix velkora-cli selfkit-i686.exe selfkit-x86_64.exe
#            ArgsSetup.exe ArgsSetup32.exe LinkProbe.exe velklink.dll work
#            velkora-cli.exe
set -uo pipefail
prefix=$1 cli=$2 kit32=$3 kit64=$4 setup=$5 setup32=$6 probe=$7 dll=$8 work=$9 wincli=${10}
export WINEPREFIX=$prefix WINEDEBUG=err+module WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { # expect WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then fail "$1: expected [$2], got [$3]"; else echo "ok: $1"; fi
}
winpath() { $wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
front_is() { # front_is FILE IMAGE: FILE starts with the bytes of IMAGE
  cmp -s -n "$(stat -c %s "$2")" "$2" "$1"
}

rm -rf "$work" && mkdir -p "$work/bin" "$work/out"
cp "$dll" "$probe" "$work/bin/"
cp "$setup" "$work/ArgsSetup.exe"
cp "$setup32" "$work/ArgsSetup32.exe"
cd "$work" || exit 1

uuid=5D1E1C3A-6B0F-4A43-9E55-2C9C3F7A0B11
"$cli" new p.vkp --title Demo --version 1.0 --website https://demo.example \
  --setup-file ArgsSetup32.exe --output-dir out --service RegNow --product-id 1234 \
  >cli.log 2>&1 || fail "new: $(cat cli.log)"
"$cli" set-product p.vkp --uuid "$uuid" >>cli.log 2>&1 || fail "set-product: $(cat cli.log)"
"$cli" build-self-creator p.vkp >>cli.log 2>&1 || fail "build-self-creator (PE32): $(cat cli.log)"
front_is out/VelkSMNG.exe "$kit32" && echo "ok: a PE32 setup gets the i686 self creator" ||
  fail "the self creator of a PE32 setup does not start with the i686 selfkit.exe"
"$cli" inspect out/VelkSMNG.exe | grep -q "^Self creator: Windows x86 (PE32)" ||
  fail "inspect: $("$cli" inspect out/VelkSMNG.exe)"

"$cli" set-product p.vkp --setup-file ArgsSetup.exe >>cli.log 2>&1 || fail "set-product"
"$cli" build-self-creator p.vkp >>cli.log 2>&1 || fail "build-self-creator (PE32+): $(cat cli.log)"
front_is out/VelkSMNG.exe "$kit64" && echo "ok: a PE32+ setup gets the x86_64 self creator" ||
  fail "the self creator of a PE32+ setup does not start with the x86_64 selfkit.exe"
"$cli" inspect out/VelkSMNG.exe | grep -q "^Self creator: Windows x64 (PE32+)" ||
  fail "inspect: $("$cli" inspect out/VelkSMNG.exe)"

# The affiliate's batch file: each run's messages go to a file of their own,
# the exit status to the batch file's output.
cat >run.bat <<'BAT'
@echo off
out\VelkSMNG.exe --service RegNow --affiliate-id 77 --homepage https://ann.example --output "built\ann setup.exe" >ok.txt 2>&1
echo ok=%ERRORLEVEL%
out\VelkSMNG.exe --service ShareIt --affiliate-id 77 --output built\x.exe >service.txt 2>&1
echo service=%ERRORLEVEL%
out\VelkSMNG.exe --affiliate-id 77 --output "%TEMP%\velkora\ArgsSetup.exe" >work.txt 2>&1
echo work=%ERRORLEVEL%
out\VelkSMNG.exe --affiliate-id 77 >usage.txt 2>&1
echo usage=%ERRORLEVEL%
out\VelkSMNG.exe --help >help.txt
echo help=%ERRORLEVEL%
BAT
sed -i 's/$/\r/' run.bat
$wine cmd /c run.bat 2>wine.log | tr -d '\r' >status.txt
expect "batch file sees the exit statuses" "$(printf 'ok=0\nservice=1\nwork=0\nusage=1\nhelp=0')" \
  "$(cat status.txt)"
text() { tr -d '\r' <"$1" 2>/dev/null; }
expect "success message" "Custom setup file has been created successfully!" "$(text ok.txt)"
expect "unknown service refused" \
  "This build offers no registration service named \"ShareIt\". It offers: RegNow" "$(text service.txt)"
# The self creator unpacks into a new private folder of each run, so the
# fixed folder of older versions is an ordinary place for an output now.
expect "output in the old fixed folder" "Custom setup file has been created successfully!" \
  "$(text work.txt)"
expect "missing option" "VelkSMNG.exe: missing option: --output" "$(text usage.txt | head -1)"
grep -q "^Usage: VelkSMNG.exe --service NAME" help.txt || fail "no usage on --help: $(text help.txt)"

# Without redirection the messages appear on the console the batch file runs in.
printf '@echo off\r\nout\\VelkSMNG.exe --service Other --affiliate-id 1 --output y.exe\r\necho status=%%ERRORLEVEL%%\r\n' >plain.bat
console=$($wine cmd /c plain.bat 2>&1 | tr -d '\r')
grep -q 'no registration service named "Other"' <<<"$console" || fail "console shows no message: $console"
grep -q '^status=1$' <<<"$console" || fail "console status: $console"

package="$work/built/ann setup.exe"
[ -f "$package" ] || { fail "no custom setup written"; exit 1; }
"$cli" inspect "$package" >inspect.txt 2>&1
grep -q "^Launcher:   Windows x64 (PE32+)" inspect.txt || fail "inspect: $(cat inspect.txt)"
link="https://www.regnow.com/softsell/nph-softsell.cgi?affiliate=77&item=1234"
grep -q "Purchase link: $link" inspect.txt || fail "composed link: $(cat inspect.txt)"

# The custom setup as an end user runs it.
export VELKORA_TEST_ARGS_FILE
VELKORA_TEST_ARGS_FILE=$(winpath "$work/launched.txt")
$wine "$package" first "second arg"
expect "exit status of the custom setup" 3 $?
expect "arguments reach the setup" "$(printf '[first]\n[second arg]')" "$(grep '^\[' launched.txt 2>/dev/null)"
query=$($wine reg query 'HKLM\Software\Velkora\'$uuid /reg:32 2>/dev/null | tr -d '\r')
grep -q "PurchaseLink.*REG_SZ.*$link" <<<"$query" || fail "HKLM PurchaseLink: $query"
grep -q "ResellerUrl.*REG_SZ.*https://ann.example" <<<"$query" || fail "HKLM ResellerUrl: $query"

cd "$work/bin" || exit 1
n=$((${#link} + 1))
expect "velklink returns the composed link" "0 $n $link" \
  "$($wine LinkProbe.exe "$uuid" 4096 | tr -d '\r')"

# velkora-cli.exe on Windows chooses the same way.
cd "$work" || exit 1
$wine "$wincli" new w.vkp --title Demo --version 1.0 --website https://demo.example \
  --setup-file ArgsSetup32.exe --output-dir winout --service RegNow --product-id 1234 \
  >wincli.log 2>&1 && $wine "$wincli" build-self-creator w.vkp >>wincli.log 2>&1 ||
  fail "velkora-cli.exe build-self-creator: $(cat wincli.log)"
front_is winout/VelkSMNG.exe "$kit32" && echo "ok: velkora-cli.exe gives a PE32 setup the i686 self creator" ||
  fail "velkora-cli.exe: the self creator of a PE32 setup does not start with the i686 selfkit.exe"

[ "$failures" -eq 0 ] && echo "all passed" || echo "$failures failure(s)"
exit $((failures > 0))
