#!/usr/bin/env bash
# Checks the lock annotations of the framework and the driver with Clang's
# thread-safety analysis: any access or call that breaks them fails the check.
# Only the compiler's front end runs (-fsyntax-only), over the compile commands
# of a Clang configuration, so nothing else has to be built.
#   check-thread-safety.sh [--build-dir DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$root/build-thread-safety"
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) build_dir="$2"; shift 2 ;;
    *) echo "error: unknown argument '$1'" >&2; exit 2 ;;
  esac
done

"$root/scripts/setup.sh" clang

cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 -DCMAKE_C_FLAGS_DEBUG=-O0 \
  -DORV_BUILD_TESTS=OFF -DORV_BUILD_BENCH=OFF -DORV_THREAD_SAFETY_ANALYSIS=ON >/dev/null

# One shell line per translation unit of the framework and the driver: into its
# directory, then its command with -fsyntax-only in place of the object output.
commands="$build_dir/thread-safety-commands.txt"
python3 - "$build_dir/compile_commands.json" "$root" >"$commands" <<'PY'
import json, shlex, sys
entries = json.load(open(sys.argv[1]))
root = sys.argv[2].rstrip("/") + "/"
for entry in entries:
    source = entry["file"]
    if not (source.startswith(root + "framework/") or source.startswith(root + "driver/")):
        continue
    words = shlex.split(entry["command"])
    kept, skip = [], False
    for word in words:
        if skip:
            skip = False
            continue
        if word in ("-o", "-MF", "-MT", "-MQ"):
            skip = True
            continue
        if word in ("-MD", "-MMD"):
            continue
        kept.append(word)
    if "-Wthread-safety" not in kept:
        sys.exit("no -Wthread-safety in the command of " + source)
    print("cd " + shlex.quote(entry["directory"]) + " && " +
          " ".join(shlex.quote(w) for w in kept + ["-fsyntax-only"]))
PY
count="$(wc -l <"$commands")"
if [ "$count" -eq 0 ]; then
  echo "error: no framework or driver sources in $build_dir/compile_commands.json" >&2
  exit 1
fi
jobs="$(nproc 2>/dev/null || echo 2)"
# xargs runs each line as a shell command and fails when any of them fails.
tr '\n' '\0' <"$commands" | xargs -0 -P "$jobs" -n 1 bash -c
echo "thread-safety analysis: $count translation units of the framework and the driver checked"
