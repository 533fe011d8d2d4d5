#!/usr/bin/env bash
# Runs the benchmark on a tiny size and checks the shape of its table: every
# measure is there with a figure, and each measured ratio is a number.
#   check-bench.sh RUN_BENCH BUILD_DIR
set -euo pipefail
table=$("$1" --build-dir "$2" --affiliates 300 --sort-rows 200 --small-builds 3 \
        --big-builds 2 --big-mib 1 --rounds 1 --stamps 3)
echo "$table"
fail() { echo "FAIL: $*" >&2; exit 1; }
for measure in "load 300 affiliates: velkora-cli show" "load + save 300 affiliates" \
               "peak memory of show" "peak memory of load + save" \
               "velkora: open until the list is shown" "sort 200 rows by every column" \
               "Build All 3 x 1 MiB: throughput" "Build All 2 x 1 MiB: throughput" \
               "Build All peak memory" "launcher: start of a 1 MiB setup" "size of setupstub"; do
  line=$(grep -F "| $measure" <<< "$table") || fail "no row for '$measure'"
  IFS='|' read -r _ _ figure _ ratio _ <<< "$line"
  [[ $figure =~ [0-9] ]] || fail "no figure for '$measure': $line"
  [[ $ratio =~ ^\ (-|[0-9]+(\.[0-9]+)?x)\ $ ]] || fail "bad ratio for '$measure': $line"
done
# Stamping needs the Windows launcher and osslsigncode; without them the row
# says it was skipped.
grep -qF "| stamp 3 copies of a 1 MiB signed template" <<< "$table" || fail "no stamping row"
