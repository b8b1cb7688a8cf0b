#!/usr/bin/env bash
# package.sh BUILD_DIR: from a Windows build (scripts/windows.sh), the portable zip
# rv4820-tool-<version>-win64.zip and the installer rv4820-tool-<version>-setup.exe,
# both in BUILD_DIR. Ships only the DLLs the program and its plugins import.
set -euo pipefail
build=$(realpath "$1")
src=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
IFS=";" read -r -a dll_dirs < "$build/dll-dirs.txt" || true # no line break at its end
qt=${dll_dirs[0]%/bin}
name=rv4820-tool-$version-win64
stage=$build/dist/$name
rm -rf "$build/dist"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations"
cp "$build/rv4820-tool.exe" "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$stage/translations/"
cp "$src/app/defaults/comm.set" "$src/app/defaults/ModSet.set" "$stage/"
cp "$src/LICENSE" "$stage/"
# Qt looks for its plugins and translations beside the program, not in the build's prefix.
printf '[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n' > "$stage/qt.conf"

# Each DLL imported is either one of ours (shipped, its own imports followed) or
# part of Windows (MinGW has an import library for it); anything else is missing.
declare -A seen
ship_imports() {
  local dll key dir found
  for dll in $(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'); do
    key=${dll,,}
    [ -n "${seen[$key]:-}" ] && continue
    seen[$key]=1
    found=""
    for dir in "${dll_dirs[@]}"; do
      found=$(find "$dir" -maxdepth 1 -iname "$dll" -print -quit)
      [ -n "$found" ] && break
    done
    if [ -n "$found" ]; then
      cp "$found" "$stage/"
      ship_imports "$found"
    elif [[ $key == api-ms-win-* ]]; then
      continue # an API set: a name Windows (8 and later) resolves itself
    elif [ -z "$(find /usr/x86_64-w64-mingw32/lib -maxdepth 1 -iname "lib${key%.*}.a" -print -quit)" ]; then
      echo "package.sh: $1 imports $dll, found neither in ${dll_dirs[*]} nor among Windows' own" >&2
      exit 1
    fi
  done
}
for binary in "$stage/rv4820-tool.exe" "$stage"/platforms/*.dll "$stage"/styles/*.dll; do
  ship_imports "$binary"
done

rm -f "$build/$name.zip"
(cd "$build/dist" && zip -qr -X "$build/$name.zip" "$name")

# The installer lists each file it installs, so its uninstaller removes exactly those.
list=$build/dist/files.nsh
: > "$list.install"
: > "$list.remove"
while read -r dir; do
  rel=${dir#"$stage"}
  win=${rel//\//\\}
  echo "SetOutPath \"\$INSTDIR$win\"" >> "$list.install"
  find "$dir" -maxdepth 1 -type f -printf '%f\n' | sort | while read -r file; do
    echo "File \"$dir/$file\"" >> "$list.install"
    echo "Delete \"\$INSTDIR$win\\$file\"" >> "$list.remove"
  done
done < <(find "$stage" -type d | sort)
find "$stage" -mindepth 1 -type d | sort -r | while read -r dir; do
  rel=${dir#"$stage"}
  echo "RMDir \"\$INSTDIR${rel//\//\\}\"" >> "$list.remove"
done
makensis -V2 -DVERSION="$version" -DOUT="$build/rv4820-tool-$version-setup.exe" \
  -DLICENSE="$stage/LICENSE" -DICON="$build/app/rv4820-tool.ico" \
  -DINSTALL_LIST="$list.install" -DREMOVE_LIST="$list.remove" "$src/app/windows/installer.nsi"
echo "Made $build/$name.zip and $build/rv4820-tool-$version-setup.exe"
