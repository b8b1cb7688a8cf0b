#!/usr/bin/env bash
# ./run demo: the tool against a simulated module, in a program directory of
# its own (build/demo) so that the operator's build/comm.set and build/ports/
# stay as they are. Extra arguments go to the simulator (e.g. --drop 0.1).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"
DEMO="$BUILD/demo"
LINK="$DEMO/ports/COM4"
SIM_LOG="$DEMO/sim.log"

for program in rv4820-tool rv4820-sim; do
  if [ ! -x "$BUILD/$program" ]; then
    echo "demo: $BUILD/$program is missing; build first (./run demo does)" >&2
    exit 1
  fi
done

mkdir -p "$DEMO/ports"
# The tool looks for its settings next to its own file, symlinks resolved,
# so it is copied, not linked.
cp -f "$BUILD/rv4820-tool" "$DEMO/rv4820-tool"
if [ -f "$BUILD/ModSet.set" ]; then
  cp -f "$BUILD/ModSet.set" "$DEMO/ModSet.set"
else
  cp -f "$ROOT/app/defaults/ModSet.set" "$DEMO/ModSet.set"
fi
printf '4,19200\r\n' >"$DEMO/comm.set"

# A link left by a run that was killed would look like a fresh one.
if [ -L "$LINK" ]; then
  rm -f "$LINK"
fi

SIM_PID=""
# shellcheck disable=SC2317  # called by the EXIT trap
stop_simulator() {
  if [ -n "$SIM_PID" ] && kill -0 "$SIM_PID" 2>/dev/null; then
    kill -TERM "$SIM_PID" 2>/dev/null || true
    wait "$SIM_PID" 2>/dev/null || true
  fi
}
trap stop_simulator EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Lines written to sim.in reach the simulator's standard input while it runs,
# e.g. `echo "current 1 4.0" >build/demo/sim.in` to step a calibrator's current.
# Opened for reading and writing, so the simulator neither waits for a writer
# nor sees the end of its input when one has written.
SIM_IN="$DEMO/sim.in"
if [ ! -p "$SIM_IN" ]; then
  rm -f "$SIM_IN"
  mkfifo "$SIM_IN"
fi
"$BUILD/rv4820-sim" --pty "$LINK" "$@" <>"$SIM_IN" >"$SIM_LOG" 2>&1 &
SIM_PID=$!

for _ in $(seq 1 100); do
  [ -L "$LINK" ] && break
  if ! kill -0 "$SIM_PID" 2>/dev/null; then
    echo "demo: the simulator did not start:" >&2
    cat "$SIM_LOG" >&2
    exit 1
  fi
  sleep 0.05
done
if [ ! -L "$LINK" ]; then
  echo "demo: $LINK did not appear" >&2
  exit 1
fi

echo "demo: simulated module on COM4 (${*:-station 2, 19200 baud}); its traffic goes to $SIM_LOG"
status=0
"$DEMO/rv4820-tool" || status=$?
exit "$status"
