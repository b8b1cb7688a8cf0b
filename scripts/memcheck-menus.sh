#!/usr/bin/env bash
# Saves the module's parameters from the coefficient boxes' context menu
# several times in a row, inside reads' waits, under Valgrind's memcheck; fails
# on any invalid read or write, or when a save did not report its file. Too
# slow for every test run (a few minutes).
#   scripts/memcheck-menus.sh [SAVES]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/setup.sh"
ensure_packages
configure_and_build build Release rv4820-sim bench-menu-walk

LOG="$(mktemp)"
trap 'rm -f "$LOG"' EXIT
status=0
# Only invalid accesses count: QProcess's waitid() with no infop is reported as
# an unaddressable syscall parameter, which it is not.
QT_QPA_PLATFORM=offscreen valgrind --tool=memcheck --leak-check=no \
  --log-file="$LOG" "$ROOT/build/bench-menu-walk" --saves "${1:-6}" || status=$?
grep -E "saves reported" "$LOG" /dev/null || true
grep -E "Invalid (read|write)|ERROR SUMMARY" "$LOG" || true
if grep -qE "Invalid (read|write)" "$LOG"; then
  echo "memcheck-menus: invalid memory access, see above" >&2
  exit 1
fi
[ "$status" -eq 0 ] || { echo "memcheck-menus: the walk failed ($status)" >&2; exit 1; }
echo "memcheck-menus: no invalid access"
