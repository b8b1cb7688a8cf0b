#!/usr/bin/env bash
# smoke.sh BUILD_WIN SIM [SCREENSHOT]: the Windows program under Wine and Xvfb,
# unpacked from its zip, with Wine's com4 on a pseudo-terminal where the Linux
# rv4820-sim answers. A real click on "查询状态" must put the read request on the
# line and its reply in the boxes. Then the installer installs silently, the
# installed copy starts, and the uninstaller removes all it installed.
set -euo pipefail
build=$(realpath "$1")
sim=$(realpath "$2")
shot=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
unset QT_QPA_PLATFORM # ./test sets offscreen; the program shows on Xvfb, with its own plugin
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
work=$(mktemp -d)
export WINEPREFIX=$work/wine RV_WINEPREFIX=$work/wine # its own, so an installation here leaves no trace elsewhere
pids=()
finish() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/sim.log" ] && sed 's/^/  sim: /' "$work/sim.log" >&2
  exit 1
}
# wait_for SECONDS COMMAND...: until the command succeeds; events, not moments.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.5
  done
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_for 30 test -s "$work/display" || fail "Xvfb did not start"
DISPLAY=:$(cat "$work/display")
export DISPLAY

# The module at 9600 baud: a port opened at any other speed garbles what it hears.
"$sim" --pty "$work/pty" --baud 9600 --input-current 1:12.34 >"$work/sim.log" 2>&1 &
pids+=($!)
wait_for 30 test -L "$work/pty" || fail "rv4820-sim made no pseudo-terminal"
pty=$(readlink -f "$work/pty")

echo "Booting Wine in $WINEPREFIX"
"$build/wine-run" cmd /c exit </dev/null >/dev/null 2>&1 || fail "Wine did not boot"
ln -sfn "$pty" "$WINEPREFIX/dosdevices/com4"

unzip -q "$build/rv4820-tool-$version-win64.zip" -d "$work"
program_dir=$work/rv4820-tool-$version-win64
printf '4,9600' > "$program_dir/comm.set"
# window_of TITLE_PART: the program's visible window, once it shows.
window=""
find_window() { window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1); [ -n "$window" ]; }
WINEPATH='' "$build/wine-run" "$program_dir/rv4820-tool.exe" >"$work/tool.log" 2>&1 &
pids+=($!)
wait_for 120 find_window RV4820 || fail "the program's window did not show"
echo "PASS: the window shows"

speed() { [ "$(stty -F "$pty" speed 2>/dev/null)" = 9600 ]; }
wait_for 30 speed || fail "COM4 was not opened at the saved 9600 baud (the line is at $(stty -F "$pty" speed))"
echo "PASS: COM4 opened at 9600 baud"

# "查询状态" found where it is drawn, searched in a strip of the window: whatever
# stands above the client area moves it down, never sideways. Looked for until
# the window has painted it: a window just mapped may still be black.
found=""
find_button() {
  import -window "$window" "$work/window.png" &&
    convert "$work/window.png" -crop "140x10000+420+0" +repage "$work/strip.png" || return 1
  found=$(compare -metric AE -subimage-search "$work/strip.png" "$here/query_button.png" null: 2>&1 || true)
  [[ $found =~ @\ ([0-9]+),([0-9]+) ]]
}
wait_for 60 find_button || fail "\"查询状态\" was not found in the window: $found"
bx=$((420 + BASH_REMATCH[1]))
by=${BASH_REMATCH[2]}
xdotool mousemove --window "$window" $((bx + 48)) $((by + 14)) click 1
requested() { grep -q -- '-> 02 03 ' "$work/sim.log"; }
wait_for 30 requested || fail "no read request reached the line"
echo "PASS: the read request reached the simulator: $(grep -m1 -- '-> 02 03 ' "$work/sim.log")"
replied() { grep -q -- '<- 02 03 10 ' "$work/sim.log"; }
wait_for 30 replied || fail "the simulator did not answer"

# The first input's box, copied as an operator would: select all, copy, read the clipboard.
input_text() {
  xdotool mousemove --window "$window" $((bx - 293)) $((by - 96)) click 1 key ctrl+a ctrl+c
  [ "$(xclip -o -selection clipboard 2>/dev/null)" = "12.34" ]
}
wait_for 30 input_text || fail "the first input's box shows \"$(xclip -o -selection clipboard 2>/dev/null)\", not 12.34"
echo "PASS: the reply reached the boxes (input 1: 12.34 mA)"
if [ -n "$shot" ]; then
  import -window "$window" "$shot"
  echo "Screenshot: $shot"
fi
kill "${pids[-1]}" 2>/dev/null || true
wineserver -k 2>/dev/null || true

setup="$build/rv4820-tool-$version-setup.exe"
"$build/wine-run" "$setup" /S </dev/null >/dev/null 2>&1 || fail "the installer failed"
installed="$WINEPREFIX/drive_c/Program Files/RV4820 Tool"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/RV4820 Tool.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\rv4820-tool'
[ -f "$installed/rv4820-tool.exe" ] || fail "nothing was installed in Program Files"
[ -f "$menu" ] || fail "no Start-menu entry"
"$build/wine-run" reg query "$key" /v UninstallString </dev/null 2>/dev/null | grep -q uninstall.exe \
  || fail "no uninstaller registered"
echo "PASS: installed, with a Start-menu entry and a registered uninstaller"
WINEPATH='' "$build/wine-run" "$installed/rv4820-tool.exe" >"$work/installed.log" 2>&1 &
pids+=($!)
wait_for 120 find_window RV4820 || fail "the installed program's window did not show"
echo "PASS: the installed copy starts"
kill "${pids[-1]}" 2>/dev/null || true
wineserver -k 2>/dev/null || true

# NSIS's uninstaller runs on from a copy of itself: wait for what it removes.
"$build/wine-run" "$installed/uninstall.exe" /S </dev/null >/dev/null 2>&1 || fail "the uninstaller failed"
gone() { [ ! -e "$installed" ] && [ ! -e "$menu" ]; }
wait_for 60 gone || fail "left behind: $(find "$installed" "$menu" 2>/dev/null | head -n 5)"
if "$build/wine-run" reg query "$key" </dev/null >/dev/null 2>&1; then
  fail "the uninstaller's registry key stayed"
fi
echo "PASS: uninstalled, nothing left"
