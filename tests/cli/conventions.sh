#!/bin/sh
# The real velkora-cli along a user's roads: version, help, a full disk on
# standard output, quiet builds and the terminal bell.
set -u
cli=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$cli" --version >"$dir/o.txt" 2>"$dir/e.txt" || fail "--version exited $?"
grep -q '^velkora-cli [0-9]' "$dir/o.txt" || fail "--version printed: $(cat "$dir/o.txt")"
grep -q 'MIT' "$dir/o.txt" || fail "--version names no licence"

for alias in -V version; do
    "$cli" $alias >"$dir/v.txt" 2>&1 || fail "$alias exited $?"
    cmp -s "$dir/o.txt" "$dir/v.txt" || fail "$alias differs from --version: $(cat "$dir/v.txt")"
done
"$cli" help --help >"$dir/v.txt" 2>&1 || fail "help --help exited $?"
grep -q '^Usage: velkora-cli COMMAND' "$dir/v.txt" || fail "help --help: $(cat "$dir/v.txt")"

# Errors name the program, the file, what failed and the system's reason.
"$cli" show "$dir/none.vkp" >/dev/null 2>"$dir/e.txt" && fail "show of a missing file exited 0"
grep -qx "velkora-cli: $dir/none.vkp: cannot read: No such file or directory" "$dir/e.txt" ||
    fail "missing file: $(cat "$dir/e.txt")"
printf 'junk' >"$dir/junk.vkp"
"$cli" show "$dir/junk.vkp" >/dev/null 2>"$dir/e.txt" && fail "show of junk exited 0"
grep -qx "velkora-cli: $dir/junk.vkp: Unexpected file format." "$dir/e.txt" ||
    fail "junk file: $(cat "$dir/e.txt")"

"$cli" show -h >"$dir/o.txt" 2>&1 || fail "show -h exited $?"
grep -q '^Usage: velkora-cli show FILE.vkp' "$dir/o.txt" || fail "show -h: $(cat "$dir/o.txt")"

cd "$dir"
printf '#!/bin/sh\n' >vendor-setup.sh
"$cli" new p.vkp --title T --version 1 --website w --setup-file vendor-setup.sh \
    --output-dir out --service RegSoft --product-id 55 >/dev/null || fail "new"
"$cli" add-affiliate p.vkp --name Bob --affiliate-id 9 >/dev/null || fail "add-affiliate"

# Results that go nowhere are a failure, said on standard error.
"$cli" show p.vkp >/dev/full 2>"$dir/e.txt"
rc=$?
[ "$rc" -ne 0 ] || fail "show > /dev/full exited 0"
grep -q 'write error on standard output: No space left on device' "$dir/e.txt" ||
    fail "show > /dev/full said: $(cat "$dir/e.txt")"

# Quiet means nothing at all when nothing went wrong.
"$cli" build p.vkp --quiet >"$dir/o.txt" 2>"$dir/e.txt" || fail "quiet build exited $?"
[ -s "$dir/o.txt" ] && fail "quiet build wrote to stdout: $(cat "$dir/o.txt")"
[ -s "$dir/e.txt" ] && fail "quiet build wrote to stderr: $(cat "$dir/e.txt")"
[ -x out/vendor-setup_Bob.sh ] || fail "quiet build built nothing"

# The bell rings only for a person watching both streams who asked for it (or
# waited long), and never with --quiet.
rm -f vendor-setup.sh # the build fails and beeps after the error
bell() { script -qec "$1" /dev/null </dev/null | tr -cd '\007' | wc -c; }
[ "$(bell "'$cli' build p.vkp --bell")" -gt 0 ] || fail "no bell on a terminal with --bell"
[ "$(bell "'$cli' build p.vkp")" -eq 0 ] || fail "bell unasked after a short build"
[ "$(bell "'$cli' build p.vkp --bell --quiet")" -eq 0 ] || fail "bell with --quiet"
[ "$(bell "'$cli' build p.vkp --bell >'$dir/log'")" -eq 0 ] || fail "bell with output to a file"
grep -q "Error! Can't open program setup file" "$dir/log" || fail "log file: $(cat "$dir/log")"

[ "$failures" -eq 0 ] || exit 1
echo "conventions passed"
