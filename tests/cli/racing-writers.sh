#!/usr/bin/env bash
# Writers racing on one project lose nothing: every add of two, then eight,
# writer processes is there with a key of its own; a writer that cannot get
# the lock within its wait fails and changes nothing; a writer killed while
# holding the lock blocks nobody.
# Arguments: work-folder command... (the command that starts velkora-cli,
# for example a wine runner followed by velkora-cli.exe).
set -uo pipefail
work=$1
shift
run=("$@")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }
cli() { "${run[@]}" "$@" 2>>"$work/cli.err" | tr -d '\r'; }

rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
cli new P.vkp --title Race --version 1 --website https://race.example --setup-file setup.bin \
  --output-dir out --service RegNow --product-id 7 >/dev/null || { cat cli.err; exit 1; }

keys() { cli show P.vkp --json | grep -o '"key": *[0-9]*' | grep -o '[0-9]*$'; }
check_project() { # check_project WHAT EXPECTED-COUNT
  local listed
  listed=$(keys) || { fail "$1: the project does not load"; return; }
  local count distinct
  count=$(printf '%s\n' "$listed" | grep -c .)
  distinct=$(printf '%s\n' "$listed" | sort -u | grep -c .)
  [ "$count" = "$2" ] && ok "$1: $count affiliates" || fail "$1: expected $2 affiliates, found $count"
  [ "$distinct" = "$count" ] && ok "$1: keys distinct" || fail "$1: $((count - distinct)) keys reused"
}

race() { # race WRITERS ADDS-EACH TAG
  local pids=() w
  for w in $(seq "$1"); do
    (for a in $(seq "$2"); do
      cli add-affiliate P.vkp --name "$3-$w-$a" --affiliate-id "$3$w$a" --wait 120 >/dev/null ||
        echo "writer $w, add $a failed" >>failed.txt
    done) &
    pids+=($!)
  done
  wait "${pids[@]}"
}

adds2=${RACE_ADDS_OF_TWO:-12}
adds8=${RACE_ADDS_OF_EIGHT:-4}
race 2 "$adds2" two
check_project "two writers" $((2 * adds2))
race 8 "$adds8" eight
check_project "eight writers" $((2 * adds2 + 8 * adds8))
[ -s failed.txt ] && fail "refused writers: $(cat failed.txt)"
expected=$((2 * adds2 + 8 * adds8))

# Starts a writer that holds the lock for HOLD ms after taking it; returns
# once it holds it (bounded).
start_holder() { # start_holder HOLD-MS NAME
  : >holder.err
  VELKORA_TEST_HOLD_LOCK_MS=$1 "${run[@]}" add-affiliate P.vkp --name "$2" --affiliate-id "$2" \
    >/dev/null 2>holder.err &
  holder=$!
  for _ in $(seq 300); do
    grep -q "Holding the lock" holder.err && return 0
    sleep 0.1
  done
  fail "the holder never took the lock: $(cat holder.err)"
  return 1
}

# A second writer that cannot get the lock in time: exit 1, the message, the
# file untouched.
if start_holder 4000 Held; then
  cp P.vkp before.vkp
  "${run[@]}" add-affiliate P.vkp --name Late --affiliate-id late --wait 0.3 >late.out 2>late.err
  status=$?
  [ "$status" = 1 ] && ok "waiting writer gives up with 1" || fail "waiting writer: status $status"
  grep -q "is being changed by another program; gave up after 0.3 second(s). Nothing was changed." \
    late.err && ok "waiting writer says why" || fail "waiting writer's message: $(cat late.err)"
  cmp -s P.vkp before.vkp && ok "file untouched by the late writer" || fail "late writer changed it"
  wait "$holder" && ok "holder finished" || fail "holder failed: $(cat holder.err)"
  expected=$((expected + 1))
  cli show P.vkp | grep -q "Late" && fail "late writer's affiliate is there"
fi
check_project "after the late writer" "$expected"

# A writer killed while it holds the lock: the next one goes ahead within a
# short wait, and the project is the one before the killed writer.
if start_holder 60000 Killed; then
  cp P.vkp before.vkp
  kill -9 "$holder"
  wait "$holder" 2>/dev/null
  cmp -s P.vkp before.vkp && ok "killed writer left the old project" || fail "killed writer changed it"
  cli add-affiliate P.vkp --name After --affiliate-id after --wait 3 >/dev/null &&
    ok "next writer proceeds" || fail "next writer blocked: $(tail -2 cli.err)"
  expected=$((expected + 1))
fi
check_project "after the killed writer" "$expected"
[ -f .P.vkp.lock ] && ok "lock file stays" || fail "lock file removed"
ls .P.vkp.*.tmp >/dev/null 2>&1 && fail "temporary files left: $(ls -a)"

echo "$failures failure(s)"
[ "$failures" = 0 ]
