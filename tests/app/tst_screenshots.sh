#!/usr/bin/env bash
# The README's pictures remade against the simulator, quickly (a short recording, the
# module's waits divided): every one made, at its size.
#   tst_screenshots.sh RV4820_SCREENSHOTS RV4820_SIM
set -euo pipefail
work=$(mktemp -d) sim_pid=
trap '[ -z "$sim_pid" ] || kill "$sim_pid"; rm -rf "$work"' EXIT
mkdir "$work/ports" && printf '0,2,16,0\r\n' >"$work/ModSet.set" && printf '4,19200\r\n' >"$work/comm.set"
mkfifo "$work/sim.in" # the calibrator's lines, held open both ways
"$2" --pty "$work/ports/COM4" --seed 7 <>"$work/sim.in" >/dev/null 2>&1 & sim_pid=$!
for _ in $(seq 100); do [ -e "$work/ports/COM4" ] && break; sleep 0.1; done
RV_SHOTS_QUICK=1 XDG_DATA_HOME="$work/share" XDG_CONFIG_HOME="$work/config" "$1" "$work" "$work/out" "$work/sim.in"
made=$(cd "$work/out" && for f in *.png; do echo "$f$(file -b "$f" | cut -d, -f2)"; done | paste -sd'|')
[ "$made" = "calibration.png 760 x 520|menus.png 805 x 716|search.png 640 x 480|status.png 805 x 131|\
tab0.png 805 x 662|tab1.png 805 x 662|tab2.png 805 x 662|trend.png 720 x 640" ] || { echo "made: $made"; exit 1; }
