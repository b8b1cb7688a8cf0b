#!/usr/bin/env bash
# Remakes docs/tab0.png .. tab2.png: the window offscreen against the
# simulated module, after "读所有参数" and "查询状态"; docs/trend.png after 20 s of cycling.
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
"$ROOT/build/rv4820-sim" --pty "$WORK/ports/COM4" --seed 7 >/dev/null 2>&1 &
SIM_PID=$!
for _ in $(seq 50); do [ -e "$WORK/ports/COM4" ] && break; sleep 0.1; done

QT_QPA_PLATFORM=offscreen "$ROOT/build/rv4820-screenshots" "$WORK" "$ROOT/docs"
