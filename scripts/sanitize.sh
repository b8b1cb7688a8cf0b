#!/usr/bin/env bash
# Builds the tests with AddressSanitizer, LeakSanitizer and UBSan (g++) in build-asan
# and runs the whole ctest suite there; a failed test or any sanitizer report fails.
# A tree that already passed unchanged is not run again (RV_FORCE=1 runs it anyway).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build-asan"
REPORTS="$BUILD/sanitizer-reports"
cd "$ROOT"

# Everything the outcome depends on: the sources, the suppressions, the compiler.
tree_key=$( { g++ --version | head -n 1; git ls-files -z -co --exclude-standard | sort -z |
  xargs -0 -r sha1sum 2>/dev/null || true; } | sha1sum | cut -d' ' -f1)
if [ "${RV_FORCE:-0}" != 1 ] && [ -f "$BUILD/passed" ] && [ "$(cat "$BUILD/passed")" = "$tree_key" ]; then
  echo "sanitize: this tree passed before; nothing to do"
  exit 0
fi
rm -f "$BUILD/passed"

# -O1 keeps the instrumented tests quick without the long optimised compile.
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
  -DRV_SANITIZE=ON >/dev/null
# Only the programs the tests run, with what they depend on: no other tool, no benchmarks,
# whose time and memory bounds the sanitizers' own overhead would break.
# They are read from the generated test files, as ctest names no program not yet built:
# every program of the build a test names, run or handed to a script. A test file left
# over from a removed folder names no target and is passed over.
mapfile -t targets < <(comm -12 \
  <(find "$BUILD" -name CTestTestfile.cmake -exec grep -ohE "\"$BUILD/([^\"]+/)?[^/\"]+\"" {} + |
      sed -E 's|.*/([^/"]+)"$|\1|' | sort -u) \
  <(ninja -C "$BUILD" -t targets all | cut -d: -f1 | sort -u) | grep -v '^bench')
[ ${#targets[@]} -gt 0 ] || targets=(all)
cmake --build "$BUILD" --parallel "$(nproc)" --target "${targets[@]}"

# AddressSanitizer and leak reports go to files as well as failing the test, so that
# one from a child process (the simulator started by a test) is not lost. g++'s UBSan
# runtime writes to stderr whatever log_path says; halt_on_error ends the process at
# the first report, which fails the test that ran it.
rm -rf "$REPORTS"
mkdir -p "$REPORTS"
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1:log_path=$REPORTS/asan"
# Leaks inside third-party libraries only; never the project's own code.
[ -f "$ROOT/tests/lsan.supp" ] && export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$REPORTS/ubsan"
export QT_QPA_PLATFORM=offscreen

status=0
ctest --test-dir "$BUILD" --output-on-failure --timeout 300 --parallel "$(nproc)" -E '^bench_' ||
  status=1
if compgen -G "$REPORTS/*" >/dev/null; then
  echo "sanitize: sanitizer reports:"
  for report in "$REPORTS"/*; do
    echo "--- $report"
    cat "$report"
  done
  status=1
fi
if [ "$status" -ne 0 ]; then
  echo "sanitize: FAILED"
  exit 1
fi
echo "$tree_key" >"$BUILD/passed"
echo "sanitize: clean"
