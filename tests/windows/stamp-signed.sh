#!/usr/bin/env bash
# Signed once, stamped per affiliate: the Linux velkora-cli writes the
# template for a Windows setup, osslsigncode signs it (SHA-256; SHA-1 with a
# nested SHA-256 signature; SHA-256 with a time stamp), velkora-cli stamps a
# copy per affiliate, and every copy still passes osslsigncode verify. Under
# wine64 a stamped copy stores its affiliate's link, the unstamped template
# the vendor's, and a malformed stamp nothing; the self creator built with the
# signed template stamps the affiliate's copy (selfkit.exe under wine64).
# Arguments: velkora-cli ArgsSetup.exe prefix velklink.dll LinkProbe.exe work
set -uo pipefail
cli=$1 setup=$2 prefix=$3 dll=$4 probe=$5 work=$6
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }
rm -rf "$work" && mkdir -p "$work/out" && cd "$work" || exit 1
# damage IN OUT WHAT: the stamped copy with its ContentInfo's length one too
# long or too short, or its slot's tag changed (the slot missing).
damage() {
  python3 - "$@" <<'PY'
import struct, sys
src, dst, what = sys.argv[1:4]
d = bytearray(open(src, 'rb').read())
pe = struct.unpack_from('<I', d, 0x3C)[0]
magic = struct.unpack_from('<H', d, pe + 24)[0]
table = struct.unpack_from('<I', d, pe + 24 + (112 if magic == 0x20B else 96) + 32)[0]
low = table + 8 + 3  # the last length byte of "30 82 hi lo"
if what == 'long':
    d[low] = (d[low] + 1) & 0xFF
elif what == 'short':
    d[low] = (d[low] - 1) & 0xFF
else:
    d[d.rfind(b'!KOVA_STAMP!') - 4] = 0x05
open(dst, 'wb').write(d)
PY
}

uuid=5A8C7E10-30B2-4C61-9D57-2E1F0A3B4C5D
"$cli" new p.vkp --title Demo --version 1.0 --website https://vendor.example \
  --setup-file "$setup" --output-dir "$work/out" --service RegNow --product-id 1234 \
  >cli.log 2>&1 || fail "new: $(cat cli.log)"
"$cli" set-product p.vkp --uuid "$uuid" >>cli.log 2>&1 || fail "set-product"
for who in Ann:77 Bob:78; do
  "$cli" add-affiliate p.vkp --name "${who%%:*}" --affiliate-id "${who##*:}" \
    --website "https://${who%%:*}.example" --setup-path "$work/out/${who%%:*}.exe" \
    >>cli.log 2>&1 || fail "add-affiliate $who"
done
vendor_link=$("$cli" show p.vkp --json | sed -n 's/.*"purchaseLink": "\([^"]*\)".*/\1/p' | head -1)
"$cli" template p.vkp --output T.exe >>cli.log 2>&1 || fail "template: $(cat cli.log)"
"$cli" stamp p.vkp --template T.exe >stamp.log 2>&1 && fail "an unsigned template was stamped"
grep -q "is not signed" stamp.log && ok "unsigned template refused" || fail "refusal: $(cat stamp.log)"

# A throwaway vendor certificate and a time-stamp authority of the test's own.
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
  -subj "/CN=Velkora test vendor" -addext "extendedKeyUsage=codeSigning" >/dev/null 2>&1 ||
  fail "openssl made no vendor certificate"
openssl req -x509 -newkey rsa:2048 -nodes -keyout tsa-key.pem -out tsa.pem -days 2 \
  -subj "/CN=Velkora test time stamps" -addext "extendedKeyUsage=critical,timeStamping" \
  >/dev/null 2>&1 || fail "openssl made no time-stamp certificate"
sign() { osslsigncode sign -certs cert.pem -key key.pem "$@" >>sign.log 2>&1; }
sign -h sha256 -in T.exe -out T-sha256.exe || fail "sign sha256: $(cat sign.log)"
sign -h sha1 -in T.exe -out T-sha1.exe && sign -nest -h sha256 -in T-sha1.exe -out T-nested.exe ||
  fail "sign nested: $(cat sign.log)"
cases="sha256 nested"
if sign -h sha256 -TSA-certs tsa.pem -TSA-key tsa-key.pem -TSA-time 1700000000 \
  -in T.exe -out T-stamped-time.exe; then
  cases="$cases stamped-time"
else
  echo "skipped: this osslsigncode makes no time stamp of its own"
fi

for c in $cases; do
  "$cli" stamp p.vkp --template "T-$c.exe" --output-dir "out/$c" >"stamp-$c.log" 2>&1 ||
    fail "stamp $c: $(cat "stamp-$c.log")"
  for who in Ann Bob; do
    copy=out/$c/$who.exe
    osslsigncode verify -CAfile cert.pem -TSA-CAfile tsa.pem -in "$copy" >"verify-$c-$who.log" 2>&1 &&
      ok "$c: $who's copy verifies" || fail "$c: osslsigncode verify $who: $(tail -5 "verify-$c-$who.log")"
    "$cli" inspect "$copy" | grep -q "Purchase link: .*affiliate=${who/Ann/77}" ||
      [ "$who" = Bob ] || fail "$c: inspect does not show Ann's stamp"
    "$cli" inspect "$copy" | grep -q "Signed digest: matches" || fail "$c: digest of $who's copy"
  done
  cmp -s -n "$(stat -c %s "T-$c.exe")" "T-$c.exe" out/$c/Ann.exe && fail "$c: nothing changed"
done
grep -q "^File '.*Ann.exe' created successfully.$" stamp-sha256.log || fail "log: $(cat stamp-sha256.log)"
grep -q "^\*\*\* Finished! - 0 error(s)$" stamp-sha256.log || fail "final line: $(cat stamp-sha256.log)"

# Stamped in place of the records' paths: verify reads them, a changed code
# byte fails it.
"$cli" stamp p.vkp --template T-sha256.exe --quiet >/dev/null 2>&1 || fail "stamp to the records' paths"
"$cli" verify p.vkp >verify.txt 2>&1 && ok "verify passes the stamped copies" || fail "verify: $(cat verify.txt)"
grep -q "Stamp:         stamped" verify.txt || fail "verify does not report the stamp"
"$cli" stamp p.vkp --template out/Ann.exe --affiliate 1 --quiet >/dev/null 2>&1 ||
  fail "re-stamping a stamped copy"
printf '\x90' | dd of=out/Bob.exe bs=1 seek=1200 conv=notrunc status=none
"$cli" verify p.vkp >verify2.txt 2>&1 && fail "verify passed a changed copy"
grep -q "Signed digest: differs" verify2.txt && ok "a changed code byte is found" ||
  fail "verify2: $(cat verify2.txt)"

for what in long short slot; do
  damage out/sha256/Ann.exe "bad-$what.exe" "$what"
  "$cli" inspect "bad-$what.exe" | grep -q "Stamp:         malformed stamp" &&
    ok "inspect: bad-$what is a malformed stamp" || fail "inspect bad-$what"
done

# Under wine64: who is credited.
if [ -n "$prefix" ] && [ -x /usr/lib/wine/wine64 ]; then
  export WINEPREFIX=$prefix WINEDEBUG=err+module WINEDLLOVERRIDES="mscoree,mshtml="
  wine=/usr/lib/wine/wine64
  key='HKLM\Software\Velkora\'$uuid
  stored() { $wine reg query "$key" /reg:32 2>/dev/null | tr -d '\r' | sed -n 's/.*PurchaseLink *REG_SZ *//p'; }
  run() { $wine reg delete "$key" /f /reg:32 >/dev/null 2>&1; $wine "$1" >/dev/null 2>&1; }
  ann_link=$("$cli" show p.vkp --json | sed -n 's/.*"purchaseLink": "\([^"]*affiliate=77[^"]*\)".*/\1/p')
  run out/nested/Ann.exe
  [ "$(stored)" = "$ann_link" ] && ok "wine: the stamped copy stores Ann's link" ||
    fail "wine: stored [$(stored)], expected [$ann_link]"
  cp "$dll" "$probe" out/
  (cd out && $wine LinkProbe.exe "$uuid" 4096 | tr -d '\r') | grep -qF " $ann_link" &&
    ok "wine: velklink returns Ann's link" || fail "wine: velklink"
  run T-sha256.exe
  [ "$(stored)" = "$vendor_link" ] && ok "wine: the template stores the vendor's link" ||
    fail "wine: template stored [$(stored)], expected [$vendor_link]"
  # Malformed stamps (also bytes after the certificate table): nothing is
  # stored, the setup (exit status 3) never starts, the launcher ends with 2.
  cp out/sha256/Ann.exe bad-end.exe && printf '\0\0\0\0\0\0\0\0' >>bad-end.exe
  for bad in bad-end bad-long bad-short bad-slot; do
    run "$bad.exe"
    status=$?
    [ -z "$(stored)" ] && [ "$status" -eq 2 ] && ok "wine: $bad stores nothing" ||
      fail "wine: $bad stored [$(stored)], status $status"
  done

  # The self creator that carries the signed template: selfkit.exe stamps
  # the affiliate's copy, byte for byte what velkora-cli stamp writes but for
  # the slot, and the vendor's signature holds.
  "$cli" build-self-creator p.vkp --template T-sha256.exe --quiet >self.log 2>&1 ||
    fail "build-self-creator --template: $(cat self.log)"
  "$cli" build-self-creator p.vkp --template T.exe --quiet >self-unsigned.log 2>&1 &&
    fail "a self creator was built with an unsigned template"
  grep -q "is not signed" self-unsigned.log || fail "refusal: $(cat self-unsigned.log)"
  printf '@echo off\r\nout\\VelkSMNG.exe --affiliate-id 99 --homepage https://cy.example --output out\\self\\cy.exe\r\necho status=%%ERRORLEVEL%%\r\n' >self.bat
  self_run=$($wine cmd /c self.bat 2>&1 | tr -d '\r')
  grep -q '^status=0$' <<<"$self_run" || fail "selfkit.exe: $self_run"
  copy=out/self/cy.exe
  osslsigncode verify -CAfile cert.pem -in "$copy" >verify-self.log 2>&1 &&
    ok "the self creator's stamped copy verifies" || fail "verify: $(tail -5 verify-self.log)"
  python3 - "$copy" out/sha256/Ann.exe <<'PY' && ok "only the slot and checksum differ from velkora-cli's copy" || fail "bytes outside the slot differ"
import struct, sys
a, b = (bytearray(open(f, 'rb').read()) for f in sys.argv[1:3])
checksum = struct.unpack_from('<I', a, 0x3C)[0] + 24 + 64  # each copy sums its own slot
a[checksum:checksum + 4] = b[checksum:checksum + 4] = bytes(4)
slot = a.rfind(b'!KOVA_STAMP!')
assert len(a) == len(b) and slot == b.rfind(b'!KOVA_STAMP!') and slot > 0
assert a[:slot] == b[:slot] and a[slot + 12288:] == b[slot + 12288:]
PY
  self_link="https://www.regnow.com/softsell/nph-softsell.cgi?affiliate=99&item=1234"
  run "$copy"
  [ "$(stored)" = "$self_link" ] && ok "wine: the self creator's copy stores its affiliate's link" ||
    fail "wine: stored [$(stored)], expected [$self_link]"
fi

[ "$failures" -eq 0 ] && echo "all passed" || echo "$failures failure(s)"
exit $((failures > 0))
