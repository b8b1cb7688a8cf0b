# Shared by ./run windows and ./test: the Windows build in build-win/, cross-built
# with MinGW-w64 against the Qt prefix that RV_QT_MINGW names.
# shellcheck shell=bash

# windows_qt_prefix: prints the Qt prefix folder, unpacking a .tar.xz once into
# build-win/qt; fails with how to get one when RV_QT_MINGW names none.
windows_qt_prefix() {
  local given="${RV_QT_MINGW:-}"
  if [ -z "$given" ] || [ ! -e "$given" ]; then
    cat >&2 <<EOT
RV_QT_MINGW must name Qt 6.4.2 for MinGW-w64: a folder, or its .tar.xz, e.g.
  RV_QT_MINGW=../shared/toolchains/qt-6.4.2-mingw64.tar.xz ./run windows
To build one (about an hour on two cores), from the folder holding build-qt-mingw.sh
and qtserialport-6.4.2.tar.xz:
  ./build-qt-mingw.sh /opt/qt-6.4.2-mingw64
EOT
    [ -n "$given" ] && echo "($given does not exist)" >&2
    return 1
  fi
  if [ -d "$given" ]; then
    realpath "$given"
    return 0
  fi
  local cache="$ROOT/build-win/qt" stamp
  stamp="$(realpath "$given") $(stat -c '%s %Y' "$given")"
  if [ "$(cat "$cache/.from" 2>/dev/null)" != "$stamp" ]; then
    echo "Unpacking $given into $cache" >&2
    rm -rf "$cache" && mkdir -p "$cache"
    tar xJf "$given" -C "$cache"
    echo "$stamp" > "$cache/.from"
  fi
  local config
  config=$(find "$cache" -maxdepth 5 -path '*/lib/cmake/Qt6/Qt6Config.cmake' | head -n 1)
  [ -n "$config" ] || { echo "$given holds no lib/cmake/Qt6" >&2; return 1; }
  realpath "${config%/lib/cmake/Qt6/Qt6Config.cmake}"
}

# windows_build TARGET...: configures build-win/ (once) and builds the targets.
windows_build() {
  local qt
  qt=$(windows_qt_prefix)
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  if [ ! -f "$ROOT/build-win/build.ninja" ] || [ "$(sed -n 's/^CMAKE_PREFIX_PATH:[A-Z]*=//p' "$ROOT/build-win/CMakeCache.txt" 2>/dev/null)" != "$qt" ]; then
    rm -f "$ROOT/build-win/CMakeCache.txt"
    cmake -S "$ROOT" -B "$ROOT/build-win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/scripts/mingw-w64.cmake" -DCMAKE_PREFIX_PATH="$qt" \
      -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "${launcher[@]}"
  fi
  local targets=()
  for target in "$@"; do targets+=(--target "$target"); done
  cmake --build "$ROOT/build-win" --parallel 2 "${targets[@]}"
}

# windows_package: the zip and the installer, in build-win/.
windows_package() {
  windows_build rv4820-tool
  "$ROOT/app/windows/package.sh" "$ROOT/build-win"
}

# windows_test: the Windows build's tests under Wine, then the smoke test of the
# zip and the installer against the Linux rv4820-sim (built in build/ by ./test).
windows_test() {
  if [ -z "${RV_QT_MINGW:-}" ]; then
    echo "SKIPPED the Windows part: RV_QT_MINGW names no Qt prefix for MinGW (README, Windows)"
    return 0
  fi
  windows_build
  "$ROOT/app/windows/package.sh" "$ROOT/build-win"
  ctest --test-dir "$ROOT/build-win" --output-on-failure --timeout 300
  "$ROOT/tests/windows/smoke.sh" "$ROOT/build-win" "$ROOT/build/rv4820-sim" "$ROOT/build-win/smoke.png"
}
