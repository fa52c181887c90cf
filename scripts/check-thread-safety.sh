#!/usr/bin/env bash
# Builds the framework and the driver with Clang's thread-safety analysis; any
# access or call that breaks the lock annotations fails the build.
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

# Only the compiler's front end matters here: no optimisation, no debug information.
options=(-G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
         -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 -DCMAKE_C_FLAGS_DEBUG=-O0
         -DORV_BUILD_TESTS=OFF -DORV_BUILD_BENCH=OFF -DORV_THREAD_SAFETY_ANALYSIS=ON)
if command -v ccache >/dev/null 2>&1; then
  options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

cmake -S "$root" -B "$build_dir" "${options[@]}" >/dev/null
jobs="$(nproc 2>/dev/null || echo 2)"
cmake --build "$build_dir" --parallel "$jobs" --target orv_framework orv_driver ORSisoMe
