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

# ORV_DEBUG_INFO=lines keeps only what stack traces need (-g1): CI builds three
# trees on two cores and does not need variable information.
case "${ORV_DEBUG_INFO:-full}" in
  full) debug_flag="-g" ;;
  lines) debug_flag="-g1" ;;
  *) echo "error: ORV_DEBUG_INFO must be full or lines" >&2; exit 2 ;;
esac
optimize="-O2"
options=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
case "$sanitize" in
  "") ;;
  # -O1: the sanitizers' own recommendation, and much quicker to compile.
  address) optimize="-O1"; options+=(-DORV_SANITIZE=ON -DORV_BUILD_BENCH=OFF) ;;
  thread) optimize="-O1"; options+=(-DORV_TSAN=ON -DORV_BUILD_BENCH=OFF) ;;
  *) echo "error: unknown sanitizer '$sanitize'" >&2; exit 2 ;;
esac
options+=("-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=$optimize $debug_flag -DNDEBUG"
          "-DCMAKE_C_FLAGS_RELWITHDEBINFO=$optimize $debug_flag -DNDEBUG")

# ccache, when installed, keeps compiled objects between builds. With the base
# directory at the repository's root, and without the working directory in the
# hash, a clone in another folder finds the objects of this one (their debug
# information then names that folder). The sloppiness lets it cache the tests'
# compiles, which include a precompiled header made during the build. No result
# depends on it: without it, or with an empty cache, the build is the same.
launcher=""
if command -v ccache >/dev/null 2>&1; then
  launcher="env;CCACHE_BASEDIR=$root;CCACHE_NOHASHDIR=1"
  launcher+=";CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime;ccache"
fi
options+=("-DCMAKE_C_COMPILER_LAUNCHER=$launcher" "-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher")

cmake -S "$root" -B "$build_dir" "${options[@]}" >/dev/null
jobs="$(nproc 2>/dev/null || echo 2)"
cmake --build "$build_dir" --parallel "$jobs" ${targets:+--target "${targets[@]}"}
