#!/bin/sh
# Every program and library we ship is hardened: full RELRO (GNU_RELRO and
# BIND_NOW), position independent (PIE or shared object), built with the
# stack protector and _FORTIFY_SOURCE=2.
# Usage: hardening.sh COMPILE_COMMANDS_JSON ELF...
set -u
commands=$1
shift
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for elf in "$@"; do
  name=$(basename "$elf")
  readelf -lW "$elf" | grep -q GNU_RELRO || fail "$name: no GNU_RELRO segment"
  readelf -dW "$elf" | grep -Eq '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' || fail "$name: not BIND_NOW"
  readelf -hW "$elf" | grep -q 'Type:.*DYN' || fail "$name: not position independent"
  # Stripped static programs keep no symbols; the compile flags below cover them.
  if readelf -dW "$elf" | grep -q NEEDED; then
    readelf --dyn-syms -W "$elf" | grep -q '__stack_chk_fail' ||
      fail "$name: does not use the stack protector"
  fi
done

# Every C and C++ compile of the project carries the flags.
total=$(grep -c '"command"' "$commands")
[ "$total" -gt 0 ] || fail "no compile commands in $commands"
for flag in -fstack-protector-strong -D_FORTIFY_SOURCE=2; do
  with=$(grep '"command"' "$commands" | grep -c -- "$flag")
  [ "$with" -eq "$total" ] || fail "$flag in $with of $total compiles"
done

[ "$failures" -eq 0 ] || exit 1
echo "hardening passed ($# files)"
