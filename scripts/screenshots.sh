#!/usr/bin/env bash
# Remakes the README's pictures in docs/, in Chinese: the window offscreen
# against the simulated module after "读所有参数" and "查询状态" (tab0.png ..
# tab2.png), the Tools menu (menus.png), the status bar and the trend window
# while recording for 20 s of cycling (status.png, trend.png), a search
# (search.png) and a calibration of input 1 after its write (calibration.png).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/setup.sh"
ensure_packages
configure_and_build build Release rv4820-sim rv4820-screenshots

WORK="$(mktemp -d)"
SIM_PID=""
cleanup() {
  [ -n "$SIM_PID" ] && kill -TERM "$SIM_PID" 2>/dev/null && wait "$SIM_PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

mkdir -p "$WORK/ports"
cp "$ROOT/app/defaults/ModSet.set" "$WORK/ModSet.set"
printf '4,19200\r\n' >"$WORK/comm.set"
# The simulated calibrator: lines written here reach the simulator's standard
# input. Opened for reading and writing, so it neither waits for a writer nor
# sees an end when one has written.
mkfifo "$WORK/sim.in"
"$ROOT/build/rv4820-sim" --pty "$WORK/ports/COM4" --seed 7 <>"$WORK/sim.in" >/dev/null 2>&1 &
SIM_PID=$!
for _ in $(seq 50); do [ -e "$WORK/ports/COM4" ] && break; sleep 0.1; done

# The calibration's backups and history, and any settings, stay in $WORK.
XDG_DATA_HOME="$WORK/.local/share" XDG_CONFIG_HOME="$WORK/.config" QT_QPA_PLATFORM=offscreen \
  "$ROOT/build/rv4820-screenshots" "$WORK" "$ROOT/docs" "$WORK/sim.in"
