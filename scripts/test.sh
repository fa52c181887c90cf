#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
#   test.sh [--build-dir DIR] [--sanitize address|thread] [-- ctest options]
#   test.sh --platform windows [-- ctest options]
#     cross-builds into build-windows/ and runs the suite under Wine
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$root/build"
build_args=()
ctest_args=()
platform=linux
while [ $# -gt 0 ]; do
  case "$1" in
    --platform) platform="$2"; shift 2 ;;
    --build-dir) build_dir="$2"; build_args+=("$1" "$2"); shift 2 ;;
    --sanitize) build_args+=("$1" "$2"); shift 2 ;;
    --) shift; ctest_args=("$@"); break ;;
    *) echo "error: unknown option '$1'" >&2; exit 2 ;;
  esac
done

jobs="$(nproc 2>/dev/null || echo 2)"
if [ "$platform" = windows ]; then
  build_dir="$root/build-windows"
  source "$root/scripts/windows.sh"
  windows_build "$root" "$build_dir"
  windows_wine_start "$build_dir"
  ctest --test-dir "$build_dir" --output-on-failure --parallel "$jobs" "${ctest_args[@]}"
  exit
elif [ "$platform" != linux ]; then
  echo "error: unknown platform '$platform' (linux or windows)" >&2
  exit 2
fi

"$root/scripts/build.sh" --build-dir "$build_dir" "${build_args[@]}"
jobs="$(nproc 2>/dev/null || echo 2)"
ctest --test-dir "$build_dir" --output-on-failure --parallel "$jobs" "${ctest_args[@]}"
