#!/bin/sh
# Runs the built velkora-cli as a user would: exit codes and streams.
set -u
cli=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

"$cli" new "$dir/p.vkp" --title T --version 1 --website w --setup-file s.sh \
    --output-dir out --service RegSoft --product-id 55 >"$dir/out" 2>"$dir/err" \
    || fail "new exited $?: $(cat "$dir/err")"
[ -s "$dir/err" ] && fail "new wrote to stderr"
"$cli" add-affiliate "$dir/p.vkp" --name Bob --affiliate-id 9 >/dev/null 2>&1 || fail "add-affiliate"
"$cli" show "$dir/p.vkp" >"$dir/out" 2>&1 || fail "show"
grep -q 'purchase.php3?affiliateid=9&productid=55' "$dir/out" || fail "link not shown: $(cat "$dir/out")"
grep -q 'out/s_Bob.sh' "$dir/out" || fail "setup path not shown"

"$cli" show "$dir/missing.vkp" >"$dir/out" 2>"$dir/err"
rc=$?
[ "$rc" -ne 0 ] || fail "show of a missing file exited 0"
[ -s "$dir/out" ] && fail "show of a missing file wrote to stdout"
grep -qx "velkora-cli: $dir/missing.vkp: cannot read: No such file or directory" "$dir/err" || fail "message: $(cat "$dir/err")"
echo "binary round trip passed"
