#!/usr/bin/env bash
# clang-format and clang-tidy over the project's own sources, and lintian over the
# Debian package; any finding fails.
#   scripts/lint.sh [build folder with compile_commands.json, default build]
# clang-tidy sees the .cpp files the build compiles (and through them the project's
# headers). A file whose content, compile command, configuration and project headers
# are unchanged since it last passed is not checked again.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" && pwd)"
DB="$BUILD/compile_commands.json"
CACHE="$BUILD/lint-cache"
JOBS="${LINT_JOBS:-$(nproc)}"
cd "$ROOT"

[ -f "$DB" ] || { echo "lint: $DB missing; build first" >&2; exit 2; }
mkdir -p "$CACHE"

# The project's files: tracked or new, never ignored build output. One clang-format
# for all of them; it reports every file, not only the first that is off.
mapfile -d '' -t listed < <(git ls-files -z -co --exclude-standard -- '*.cpp' '*.h')
sources=()
for file in "${listed[@]}"; do
  [ -f "$file" ] && sources+=("$file")
done
format_bad=0
if ! out=$(clang-format --dry-run -Werror "${sources[@]}" 2>&1); then
  format_bad=1
  printf '%s\n' "$out"
  echo "format findings per file:"
  { grep -E '^[^ ]+:[0-9]+:[0-9]+: error: ' <<<"$out" || true; } | cut -d: -f1 | uniq -c
fi

# The compiled project sources, each with the key of what decides its findings: the
# tool and its configuration, the compile command, the file and the project headers it
# includes (as the build's dependency log lists them; all of them if it lists none).
mapfile -t units < <(python3 - "$DB" "$ROOT" "$BUILD" <<'PY'
import hashlib, json, os, shlex, subprocess, sys
db, root, build = sys.argv[1], sys.argv[2] + os.sep, sys.argv[3]

def own(path):
    return path.startswith(root) and not path[len(root):].startswith("build")

def digest(path):
    try:
        with open(path, "rb") as f:
            return hashlib.sha1(f.read()).hexdigest()
    except OSError:
        return "missing"

deps, current = {}, None
log = subprocess.run(["ninja", "-C", build, "-t", "deps"], capture_output=True, text=True).stdout
for line in log.splitlines():
    if line and not line[0].isspace():
        current = deps.setdefault(line.split(":")[0], [])
    elif line.strip() and current is not None:
        current.append(os.path.normpath(os.path.join(build, line.strip())))
listed = subprocess.run(["git", "-C", root, "ls-files", "-co", "--exclude-standard", "--", "*.h"],
                        capture_output=True, text=True).stdout.split()
all_headers = [os.path.join(root, h) for h in listed]
shared = hashlib.sha1()
shared.update(subprocess.run(["clang-tidy", "--version"], capture_output=True).stdout)
shared.update(digest(os.path.join(root, ".clang-tidy")).encode())

for entry in json.load(open(db)):
    path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    if not own(path) or not path.endswith(".cpp") or not os.path.exists(path):
        continue
    command = entry.get("command") or shlex.join(entry.get("arguments", []))
    words = shlex.split(command)
    obj = words[words.index("-o") + 1] if "-o" in words else ""
    headers = sorted(h for h in deps.get(obj, []) if own(h) and h != path) or all_headers
    key = shared.copy()
    key.update(command.encode())
    for dependency in [path] + headers:
        key.update((dependency + digest(dependency)).encode())
    print(path[len(root):] + " " + key.hexdigest())
PY
)

todo=()
for unit in "${units[@]}"; do
  [ -f "$CACHE/${unit#* }" ] || todo+=("$unit")
done
echo "tidy: ${#todo[@]} of ${#units[@]} file(s) to check"

# One clang-tidy per file, JOBS at a time; a file that passes leaves its key behind.
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
tidy_one() {
  local file="$1" key="$2"
  if clang-tidy -p "$BUILD" --quiet "$file" >"$LOGS/${file//\//_}.log" 2>/dev/null; then
    touch "$CACHE/$key"
  else
    echo "$file" >"$LOGS/${file//\//_}.failed"
  fi
}
export -f tidy_one
export BUILD CACHE LOGS="$logs"
printf '%s\n' "${todo[@]}" | grep . | xargs -r -P "$JOBS" -L 1 bash -c 'tidy_one "$@"' _ || true

tidy_bad=0
if compgen -G "$logs/*.failed" >/dev/null; then
  tidy_bad=1
  cat "$logs"/*.log
  # A header's finding shows once per file that includes it: count it once, where it is.
  echo "tidy findings per file:"
  { cat "$logs"/*.log | grep -E '^/.*:[0-9]+:[0-9]+: (warning|error): ' || true; } | sort -u |
    sed -E "s|^$ROOT/||; s|:[0-9]+:[0-9]+: .*||" | sort | uniq -c | sort -rn
  for failed in "$logs"/*.failed; do
    grep -qE ': (warning|error): ' "${failed%.failed}.log" ||
      echo "clang-tidy failed without a finding on $(cat "$failed")"
  done
fi

# The package as the build makes it; lintian's errors fail, its warnings are shown.
package_bad=0
cpack --config "$BUILD/CPackConfig.cmake" -B "$logs/package" >/dev/null
lintian --fail-on error "$logs"/package/*.deb || package_bad=1

if [ "$format_bad" -ne 0 ] || [ "$tidy_bad" -ne 0 ] || [ "$package_bad" -ne 0 ]; then
  echo "lint: FAILED"
  exit 1
fi
echo "lint: clean"
