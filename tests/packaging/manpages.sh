#!/bin/sh
# The manual pages render without a warning from man/groff, and every command
# that `velkora-cli help` lists has its section in velkora-cli(1) with the
# same arguments and options.
# Usage: manpages.sh VELKORA_CLI VELKORA_CLI_PAGE VELKORA_PAGE
set -u
cli=$1 clipage=$2 guipage=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

render() { # $1: page, $2: text output
  LC_ALL=C.UTF-8 MANWIDTH=2000 MAN_KEEP_FORMATTING= man --warnings=all -E UTF-8 -l "$1" \
    >"$2" 2>"$work/warnings"
  [ $? -eq 0 ] || fail "man failed on $1"
  [ -s "$work/warnings" ] && fail "warnings for $1: $(cat "$work/warnings")"
  # Plain text: drop overstrike (bold and underline) and hyphenation marks.
  sed -i 's/.\x08//g; s/\xe2\x80\x90/-/g' "$2"
}
render "$clipage" "$work/cli.txt"
render "$guipage" "$work/gui.txt"

for section in NAME SYNOPSIS DESCRIPTION "EXIT STATUS" ENVIRONMENT FILES; do
  grep -q "^$section\$" "$work/cli.txt" || fail "velkora-cli(1) has no $section"
  grep -q "^$section\$" "$work/gui.txt" || fail "velkora(1) has no $section"
done
for variable in VELKORA_STORE_DIR VELKORA_USER_STORE_DIR; do
  grep -q "^ *$variable\$" "$work/cli.txt" || fail "velkora-cli(1) does not explain $variable"
done

# "  name usage" lines of the command list.
"$cli" help | sed -n 's/^  \([a-z][a-z-]*\) \(.*\)$/\1\t\2/p' >"$work/commands"
[ "$(wc -l <"$work/commands")" -ge 9 ] || fail "help listed: $(cat "$work/commands")"
tab=$(printf '\t')
while IFS="$tab" read -r name usage; do
  grep -q "^   $name " "$work/cli.txt" || fail "no section for $name"
  grep -qF "velkora-cli $name $usage" "$work/cli.txt" || fail "synopsis of $name is not '$usage'"
done <"$work/commands"

[ "$failures" -eq 0 ] || exit 1
echo "manual pages passed"
