#!/usr/bin/env bash
# bench/soak.sh [seconds]: the tool cycling at 50 ms for that long (default
# 600) against a simulated module that drops, corrupts, cuts and garbles
# replies and answers late, with clicks every 2 s and the port vanishing
# twice; checks the window against the simulator's logs and puts the figures
# into BENCHMARKS.md. A 6-second version, its stretches scaled down, runs with the tests.
set -euo pipefail
source "$(dirname "$0")/common.sh"

seconds="${1:-600}"
build_targets rv4820-sim bench-soak

table=$(mktemp)
trap 'rm -f "$table"' EXIT
header "Soak under faults ($seconds s)" "bench/soak.sh $seconds" no >"$table"
status=0
"$BUILD/bench-soak" --seconds "$seconds" 2>/dev/null | tee -a "$table" || status=$?
replace_section soak "$table"
echo "bench: results in $RESULTS"
exit "$status"
