#!/usr/bin/env bash
# From a new project to a stored purchase link, through the command-line
# program: new, add-affiliate, build, run the package, read the link back.
# Then run-setup on an up-to-date and on an outdated package, and the
# command's failures.
# Usage: cli_build_road.sh VELKORA_CLI VELKLINK_DEMO
set -u
cli=$(realpath "$1")
demo=$(realpath "$2")
work=$(mktemp -d "${TMPDIR:-/tmp}/cli-build-road-XXXXXX")
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work/tmp" VELKORA_STORE_DIR="$work/store" VELKORA_USER_STORE_DIR="$work/user-store"
mkdir -p "$TMPDIR" "$VELKORA_STORE_DIR" "$VELKORA_USER_STORE_DIR"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_eq() { [ "$1" == "$2" ] || fail "$3: expected [$2], got [$1]"; }

# Information files the builder left behind (the launcher's own folder inside
# the temporary folder is not the builder's business).
leftovers() { find "$TMPDIR" -maxdepth 1 \( -name '_aff*' -o -name afflreg.dat \) -print; }

# Waits up to 10 s for a file the started programs write.
wait_for() {
  for _ in $(seq 100); do [ -s "$1" ] && return 0; sleep 0.1; done
  return 1
}

cd "$work"
# The vendor's setup notes that it ran, with which arguments.
printf '#!/bin/sh\necho "ran with: $*" >> "%s/setup-ran"\n' "$work" > vendor-setup.sh
chmod +x vendor-setup.sh
"$cli" new demo.vkp --title Demo --version 1.0 --website https://demo.example \
  --setup-file vendor-setup.sh --output-dir out --service RegNow --product-id 4711 >/dev/null ||
  fail "new"
"$cli" add-affiliate demo.vkp --name Alice --affiliate-id al-1 --website https://alice.example \
  --setup-path out/alice/setup.sh >/dev/null || fail "add-affiliate Alice"
"$cli" add-affiliate demo.vkp --name Bob --affiliate-id bo-2 --setup-path out/bob/setup.sh \
  >/dev/null || fail "add-affiliate Bob"
uuid=$("$cli" show demo.vkp --json | sed -n 's/.*"uuid": "\([^"]*\)".*/\1/p')
[ -n "$uuid" ] || fail "no program UUID"

# Build Selected for Alice only: the exact log, exit 0, only her package.
"$cli" build demo.vkp --affiliate 0 > log.txt 2> err.txt
expect_eq "$?" 0 "build exit status"
sed -i '1s/\[[0-9][0-9]:[0-9][0-9]:[0-9][0-9]\]/[hh:mm:ss]/' log.txt
printf '%s\n' "***Start building [hh:mm:ss] " "" "Writing program info..." \
  "Writing affiliate info..." "Reading setup file 'vendor-setup.sh'" \
  "Creating affiliate setup file..." "File 'out/alice/setup.sh' created successfully." "" \
  "*** Finished! - 0 error(s)" > expected.txt
cmp -s log.txt expected.txt || { fail "build log"; diff expected.txt log.txt; }
[ -s err.txt ] && fail "a build without errors wrote to stderr: $(cat err.txt)"
[ -x out/alice/setup.sh ] || fail "Alice's package is not an executable file"
[ -e out/bob/setup.sh ] && fail "Bob's package was built"
[ -z "$(leftovers)" ] || fail "information files left: $(leftovers)"

# The end user runs Alice's custom setup; the product asks for its link.
out/alice/setup.sh --silent /dir=x
wait_for setup-ran || fail "vendor setup did not run"
expect_eq "$(cat setup-ran)" "ran with: --silent /dir=x" "arguments of the vendor setup"
link=$("$demo" "$uuid")
expect_eq "$link" "https://www.regnow.com/softsell/nph-softsell.cgi?affiliate=al-1&item=4711" \
  "stored purchase link"

# Run Setup on the up-to-date package: started as it is, nothing rewritten.
rm -f setup-ran
before=$(stat -c %Y:%s out/alice/setup.sh)
touch -d '2037-01-01' out/alice/setup.sh
"$cli" run-setup demo.vkp 0 > log.txt || fail "run-setup (up to date)"
wait_for setup-ran || fail "run-setup did not run the up-to-date package"
[ -s log.txt ] && fail "run-setup of an up-to-date package logged: $(cat log.txt)"
expect_eq "$(stat -c %Y out/alice/setup.sh)" "$(date -d 2037-01-01 +%s)" "untouched package"

# Run Setup on a package older than the affiliate's last change: rebuilt, then run.
rm -f setup-ran
touch -d '2001-01-01' out/alice/setup.sh
"$cli" run-setup demo.vkp 0 > log.txt || fail "run-setup (outdated)"
expect_eq "$(tail -n 1 log.txt)" "*** Finished! - 0 error(s)" "run-setup final line"
expect_eq "$(sed -n 6p log.txt)" "File 'out/alice/setup.sh' created successfully." "rebuild line"
wait_for setup-ran || fail "run-setup did not run the rebuilt package"
[ "$(stat -c %Y out/alice/setup.sh)" -gt "$(date -d 2002-01-01 +%s)" ] || fail "not rebuilt"

# Build All with the vendor's setup gone: one error line, exit 1, nothing written.
rm -rf out vendor-setup.sh
"$cli" build demo.vkp > log.txt 2>/dev/null
expect_eq "$?" 1 "build exit status without setup file"
expect_eq "$(grep -c "Error! Can't open program setup file\[vendor-setup.sh\]." log.txt)" 1 \
  "missing setup file line"
expect_eq "$(tail -n 1 log.txt)" "*** Finished! - 1 error(s)" "final line with one error"
[ -e out ] && fail "a package was written without a setup file"

# Mistakes on the command line.
"$cli" build demo.vkp --affiliate 9 >/dev/null 2>&1
expect_eq "$?" 1 "unknown affiliate key"
"$cli" build demo.vkp --affiliate x >/dev/null 2>&1
expect_eq "$?" 2 "malformed affiliate key"
"$cli" run-setup demo.vkp >/dev/null 2>&1
expect_eq "$?" 2 "run-setup without key"
"$cli" run-setup missing.vkp 0 >/dev/null 2>&1
expect_eq "$?" 1 "run-setup of a missing project"
[ -z "$(leftovers)" ] || fail "information files left at the end: $(leftovers)"

echo "$failures failed"
[ "$failures" -eq 0 ]
