#!/bin/sh
# The layer check against a sample tree that breaks every rule once (and keeps
# some includes that look like breaches but are not), and against rule files
# it must refuse.
set -u
checker=$1
data=$2
out=$(mktemp)
trap 'rm -f "$out"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

python3 "$checker" "$data/broken" >"$out" 2>&1
status=$?
[ "$status" -eq 1 ] || fail "the broken tree: exit $status, expected 1"
diff -u "$data/broken.expected" "$out" || fail "the broken tree: the report differs (above)"

for rules in rules-without-colon.txt:2 rules-twice.txt:3; do
    file=${rules%:*}
    line=${rules#*:}
    python3 "$checker" "$data/broken" "$data/$file" >"$out" 2>&1
    status=$?
    [ "$status" -eq 2 ] || fail "$file: exit $status, expected 2"
    grep -q "$file:$line: " "$out" || fail "$file: no line $line named: $(cat "$out")"
done

python3 "$checker" "$data/no-such-folder" >"$out" 2>&1
status=$?
[ "$status" -eq 2 ] || fail "a missing tree: exit $status, expected 2"

[ "$failures" -eq 0 ] || exit 1
echo "layer check: all cases pass"
