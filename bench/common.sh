# Shared by bench/run.sh and bench/soak.sh.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${BENCH_BUILD:-$ROOT/build}"
RESULTS="$ROOT/BENCHMARKS.md"
export QT_QPA_PLATFORM=offscreen

# build_targets TARGET...: a Release build of what the benchmarks need.
build_targets() {
  if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  local type
  type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$BUILD/CMakeCache.txt")
  if [ "$type" != "Release" ]; then
    echo "bench: $BUILD is a '$type' build; figures need Release (set BENCH_BUILD)" >&2
    exit 1
  fi
  cmake --build "$BUILD" --parallel 2 --target "$@"
}

load_average() { cut -d' ' -f1 /proc/loadavg; }

machine() {
  local cpu
  cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
  echo "$(nproc) cores, ${cpu:-unknown CPU}, Linux $(uname -r)"
}

qt_version() { qtpaths6 --qt-version 2>/dev/null || echo unknown; }

# replace_section NAME FILE: puts FILE between the NAME markers of BENCHMARKS.md.
replace_section() {
  local name="$1" body="$2" start="<!-- $1:start -->" end="<!-- $1:end -->"
  if [ ! -f "$RESULTS" ] || ! grep -qF "$start" "$RESULTS"; then
    printf '%s\n%s\n' "$start" "$end" >>"$RESULTS"
  fi
  awk -v start="$start" -v end="$end" -v body="$body" '
    $0 == start { print; while ((getline line < body) > 0) print line; skip = 1; next }
    $0 == end { skip = 0 }
    !skip { print }' "$RESULTS" >"$RESULTS.tmp"
  mv "$RESULTS.tmp" "$RESULTS"
}

# header TITLE COMMAND QUICK: the lines that say when, where and how.
header() {
  echo "## $1"
  echo
  if [ "$3" = yes ]; then
    echo "**Quick run: a few seconds per measure, to check the programs; not the full figures.**"
    echo
  fi
  echo "- Date: $(date '+%Y-%m-%d %H:%M %Z')"
  echo "- Machine: $(machine); load average $(load_average) at the start"
  echo "- Qt $(qt_version), Release build in \`${BUILD#"$ROOT"/}\`"
  echo "- Command: \`$2\`"
  echo
}
