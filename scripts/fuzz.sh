#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for a while.
#   scripts/fuzz.sh [seconds per target, default 600] [target ...]
# New inputs go to build-fuzz/fuzz/corpus/<target>, crashes to build-fuzz/fuzz/crashes/<target>;
# the seeds in tests/fuzz/corpus are only read. Fails when any target found a fault.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build-fuzz"
SECONDS_PER_TARGET="${1:-600}"
shift || true

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DRV_FUZZ=ON >/dev/null
fi
cmake --build "$BUILD" --target rv_fuzzers --parallel 2

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$BUILD"/fuzz/fuzz_*; do
    [ -x "$exe" ] && targets+=("$(basename "$exe")")
  done
fi

export ASAN_OPTIONS="detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen

# stat NAME LOG: the value libFuzzer printed for stat::NAME.
stat() { sed -n "s/^stat::$1: *//p" "$2" | tail -n 1; }

summary=()
failed=0
for target in "${targets[@]}"; do
  work="$BUILD/fuzz/corpus/$target"
  crashes="$BUILD/fuzz/crashes/$target"
  log="$BUILD/fuzz/$target.log"
  mkdir -p "$work" "$crashes"
  args=(-max_total_time="$SECONDS_PER_TARGET" -timeout=10 -print_final_stats=1
        -artifact_prefix="$crashes/")
  dict="$ROOT/tests/fuzz/$target.dict"
  [ -f "$dict" ] && args+=(-dict="$dict")
  echo "== $target: ${SECONDS_PER_TARGET}s"
  result=ok
  if ! "$BUILD/fuzz/$target" "${args[@]}" "$work" "$ROOT/tests/fuzz/corpus/$target" >"$log" 2>&1; then
    result="FAULT (see $log)"
    failed=1
    grep -m 1 -E 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error|fuzz check failed' \
      "$log" || tail -n 20 "$log"
  fi
  coverage=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
  summary+=("$(printf '%-20s %12s runs %8s/s  cov %5s  corpus %5s  %s' "$target" \
    "$(stat number_of_executed_units "$log")" "$(stat average_exec_per_sec "$log")" \
    "${coverage:-?}" "$(find "$work" -type f | wc -l)" "$result")")
done

echo
echo "Fuzzing summary (${SECONDS_PER_TARGET}s per target):"
printf '  %s\n' "${summary[@]}"
exit "$failed"
