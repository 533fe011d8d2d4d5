#!/bin/sh
# run-fuzzer.sh <fuzz program> <seed folder> <work folder>
# Runs one fuzz target for VELKORA_FUZZ_SECONDS seconds (default 15), starting
# from the seeds and the inputs earlier runs kept in the work folder. Any crash,
# sanitizer report, broken invariant, leak or slow input fails the run; the
# input is saved beside the work folder.
set -eu
program=$1
seeds=$2
work=$3
mkdir -p "$work"
exec "$program" -max_total_time="${VELKORA_FUZZ_SECONDS:-15}" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work-" "$work" "$seeds"
