#!/usr/bin/env bash
# The Debian package as a technician gets it: control fields, files, menu entry and
# icons; then the unpacked copy run by an ordinary user (tst_package_save). Lintian
# checks the package in scripts/lint.sh.
#   tst_package.sh BUILD_DIR TST_PACKAGE_SAVE VERSION
# Traced, so a failure shows the check that failed with its values.
set -euxo pipefail
build="$1" save_test="$2" version="$3"
[ "$(id -u)" -eq 0 ] || { echo "needs root, to act as another user"; exit 77; }
tmp=$(mktemp -d) && chmod 755 "$tmp" # nobody runs what is in there
trap 'rm -rf "$tmp"' EXIT
install -m 755 "$save_test" "$tmp/"

cpack --config "$build/CPackConfig.cmake" -B "$tmp/out" >/dev/null
deb="$tmp/out/rv4820-tool_${version}_$(dpkg --print-architecture).deb"
fields=$(dpkg-deb -f "$deb")
for want in "^Version: $version$" '^Section: electronics$' '^Maintainer: .* <.*@.*>$' \
  '^Depends: .*libqt6widgets6' '^Depends: .*libqt6serialport6' '^Depends: .*libqcustomplot2.1-qt6'; do
  grep -q "$want" <<<"$fields"
done

dpkg-deb -x "$deb" "$tmp/root"
cd "$tmp/root"
[ "$(find . ! -type d | LC_ALL=C sort)" = "$(printf '%s\n' ./usr/bin/rv4820-{sim,tool} \
  ./usr/lib/rv4820/{ModSet.set,comm.set,rv4820-sim,rv4820-tool} ./usr/share/applications/rv4820-tool.desktop \
  ./usr/share/doc/rv4820-tool/{changelog.gz,copyright} \
  ./usr/share/icons/hicolor/{128x128,256x256,32x32,48x48}/apps/rv4820-tool.png)" ]
for p in rv4820-tool rv4820-sim; do [ "$(readlink usr/bin/$p)" = ../lib/rv4820/$p ]; done
printf '4,19200\r\n' | cmp - usr/lib/rv4820/comm.set
for size in 32 48 128 256; do
  file -b usr/share/icons/hicolor/${size}x$size/apps/rv4820-tool.png | grep -q "^PNG image data, $size x $size,"
done
entry=usr/share/applications/rv4820-tool.desktop
[ -z "$(desktop-file-validate $entry 2>&1)" ]
[ "$(grep -cE '^(Name|Comment|Comment\[zh_CN\]|Categories)=.|^(Exec|Icon)=rv4820-tool$|^Terminal=false$' $entry)" = 7 ]

# Root can write anywhere: the rest runs as nobody, with a home of its own.
install -d -o 65534 -g 65534 "$tmp/home"
env -i HOME="$tmp/home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen RV_ROOT="$tmp/root" \
  setpriv --reuid=65534 --regid=65534 --clear-groups "$tmp/$(basename "$save_test")"
