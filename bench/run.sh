#!/usr/bin/env bash
# Speed figures of the tool, its window running in-process against rv4820-sim
# on a pseudo-terminal; the table goes into BENCHMARKS.md.
#   bench/run.sh            full figures, about 15 minutes; run it on a quiet machine
#   bench/run.sh --quick    a few seconds per measure, to check that all works
#   bench/run.sh --seconds N [--memory-seconds M]   other lengths (default 60 and 600)
set -euo pipefail
source "$(dirname "$0")/common.sh"

seconds=60 memory_seconds=600 quick=no
command="bench/run.sh $*"
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) seconds=5 memory_seconds=15 quick=yes ;;
    --seconds) seconds="$2"; shift ;;
    --memory-seconds) memory_seconds="$2"; shift ;;
    *) echo "usage: bench/run.sh [--quick] [--seconds N] [--memory-seconds M]" >&2; exit 2 ;;
  esac
  shift
done

build_targets rv4820-sim bench-cycle bench-startup bench-trend
if [ "$quick" = no ] && awk '{ exit !($1 >= 0.5) }' /proc/loadavg; then
  echo "bench: load average $(load_average): processor figures will come out high" >&2
fi

table=$(mktemp)
trap 'rm -f "$table"' EXIT
header "Speed" "${command% }" "$quick" >"$table"
{
  echo "| Measure | Figure | Target | Verdict |"
  echo "|---|---|---|---|"
  cycle() { "$BUILD/bench-cycle" --seconds "$seconds" "$@" 2>/dev/null; }
  cycle --interval 0 --rows cpu --cpu-target 0.2
  cycle --interval 0 --rows cpu --cpu-target 0.2 --unfocused
  cycle --interval 1000 --rows cpu,latency,spacing --cpu-target 1
  cycle --interval 50 --rows cpu,rate,latency --cpu-target 3
  "$BUILD/bench-startup" --runs 20 2>/dev/null
  "$BUILD/bench-cycle" --seconds "$memory_seconds" --interval 50 --rows memory,rate 2>/dev/null
  "$BUILD/bench-trend" --seconds "$seconds" 2>/dev/null
  echo
  echo "Load average at the end: $(load_average)."
} | tee -a "$table"
replace_section bench "$table"
echo "bench: results in $RESULTS"
