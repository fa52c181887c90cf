#!/usr/bin/env bash
# Configures and builds into a build directory.
#   build.sh [--build-dir DIR] [--sanitize address|thread] [targets...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$root/build"
sanitize=""
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) build_dir="$2"; shift 2 ;;
    --sanitize) sanitize="$2"; shift 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done

"$root/scripts/setup.sh"

options=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
case "$sanitize" in
  "") ;;
  address) options+=(-DORV_SANITIZE=ON -DORV_BUILD_BENCH=OFF) ;;
  thread) options+=(-DORV_TSAN=ON -DORV_BUILD_BENCH=OFF) ;;
  *) echo "error: unknown sanitizer '$sanitize'" >&2; exit 2 ;;
esac

cmake -S "$root" -B "$build_dir" "${options[@]}" >/dev/null
jobs="$(nproc 2>/dev/null || echo 2)"
cmake --build "$build_dir" --parallel "$jobs" ${targets:+--target "${targets[@]}"}
