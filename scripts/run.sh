#!/usr/bin/env bash
# Builds what the grab command needs and runs it: ORSisoMe.xvd grabs from the
# simulated machine's default board (one Camera Link board, 640 x 480 gray8) and
# the last image is written as PNG.
#   run.sh [orvgrab options]          e.g. run.sh --count 100 --lock-mode 2
# Without ORVDATA, SISODIR5 and ORV_REGISTRY_FILE orvgrab makes a fresh sandbox in
# a temporary directory. The PNG goes to build/orvgrab.png unless --output is given.
#   run.sh --platform windows [...]  the same with orvgrab.exe under Wine, built
#                                     into build-windows/ (PNG: build-windows/orvgrab.png)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
platform=linux
if [ "${1:-}" = "--platform" ]; then
  platform="${2:-}"
  shift 2
fi
targets=(orvgrab ORSisoMe siso_genicam fglib5 gbelib)
case "$platform" in
  linux)
    build_dir="$root/build"
    "$root/scripts/build.sh" --build-dir "$build_dir" "${targets[@]}"
    command=("$build_dir/bin/orvgrab")
    ;;
  windows)
    build_dir="$root/build-windows"
    source "$root/scripts/windows.sh"
    windows_build "$root" "$build_dir" "${targets[@]}" ORBase_v1_2 ORCImg ORGenApi ORCUtilities
    windows_wine_start "$build_dir"
    command=(windows_wine wine "$build_dir/bin/orvgrab.exe")
    ;;
  *) echo "error: unknown platform '$platform' (linux or windows)" >&2; exit 2 ;;
esac

args=("$@")
has_output=0
for arg in "${args[@]}"; do
  case "$arg" in
    --output|--output=*) has_output=1 ;;
  esac
done
if [ "$has_output" -eq 0 ]; then
  args+=(--output "$build_dir/orvgrab.png")
fi

"${command[@]}" "${args[@]}"
