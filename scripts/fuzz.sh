#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ and runs each for a while, on a scratch copy
# of its seed corpus: fuzz/corpus is only read.
#   fuzz.sh [--seconds N] [--jobs N] [--build-dir DIR] [--replay [--sanitize KIND]] [target...]
# By default they are libFuzzer programs (clang, ORV_FUZZ=ON, in build-fuzz/).
# --replay builds them into a test build instead (scripts/build.sh, GCC, the
# given sanitizer) with a main that runs the seed corpus and then random
# mutations of it: quick, not coverage-guided; CI runs it in its sanitizer
# build. Targets are the names given to orv_add_fuzzer in fuzz/CMakeLists.txt;
# all of them by default. --jobs runs that many targets at once (default 1). A
# finding is kept in DIR/fuzz-findings/<target>/ and makes the script fail;
# each target's log is DIR/fuzz-logs/<target>.log.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir=""
seconds=20
jobs=1
replay=0
sanitize=""
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --jobs) jobs="$2"; shift 2 ;;
    --build-dir) build_dir="$2"; shift 2 ;;
    --replay) replay=1; shift ;;
    --sanitize) sanitize="$2"; shift 2 ;;
    -*) echo "error: unknown option '$1'" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
case "$seconds$jobs" in
  *[!0-9]*) echo "error: --seconds and --jobs take a whole number" >&2; exit 2 ;;
esac

mapfile -t known < <(sed -n 's/^orv_add_fuzzer(\([a-z_]*\).*/\1/p' "$root/fuzz/CMakeLists.txt")
if [ ${#targets[@]} -eq 0 ]; then
  targets=("${known[@]}")
fi
for target in "${targets[@]}"; do
  if ! printf '%s\n' "${known[@]}" | grep -qx "$target"; then
    echo "error: no fuzz target '$target' (known: ${known[*]})" >&2
    exit 2
  fi
done

if [ "$replay" -eq 1 ]; then
  build_dir="${build_dir:-$root/build-fuzz-replay}"
  # The targets take FuzzedDataProvider.h from clang's run-time package.
  "$root/scripts/setup.sh" libclang-rt-dev
  "$root/scripts/build.sh" --build-dir "$build_dir" ${sanitize:+--sanitize "$sanitize"} \
    "${targets[@]/#/fuzz_}"
else
  build_dir="${build_dir:-$root/build-fuzz}"
  "$root/scripts/setup.sh" clang libclang-rt-dev
  cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
    -DORV_FUZZ=ON -DORV_BUILD_TESTS=ON -DORV_BUILD_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" \
    "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" >/dev/null
  cmake --build "$build_dir" --parallel "$(nproc 2>/dev/null || echo 2)" \
    --target "${targets[@]/#/fuzz_}"
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$build_dir/fuzz-logs" "$build_dir/fuzz-findings"

# One target: its corpus copy and its temporary files (the device-control
# target's simulated machine) stay in the scratch directory.
run() {
  local target="$1"
  local corpus="$scratch/$target/corpus"
  local findings="$build_dir/fuzz-findings/$target"
  local log="$build_dir/fuzz-logs/$target.log"
  mkdir -p "$corpus" "$scratch/$target/tmp" "$findings"
  cp -R "$root/fuzz/corpus/$target/." "$corpus/"
  local status=0
  if [ "$replay" -eq 1 ]; then
    TMPDIR="$scratch/$target/tmp" "$build_dir/bin/fuzz_$target" \
      --seconds "$seconds" --artifact-prefix "$findings/" "$corpus" >"$log" 2>&1 || status=$?
  else
    TMPDIR="$scratch/$target/tmp" "$build_dir/bin/fuzz_$target" \
      -max_total_time="$seconds" -timeout=20 -print_final_stats=1 \
      -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1 || status=$?
  fi
  if [ "$status" -ne 0 ]; then
    echo "FAIL $target (exit $status): see $log and $findings"
    tail -n 40 "$log" >&2
    return 1
  fi
  if [ "$replay" -eq 1 ]; then
    echo "ok   $target: $(sed -n 's/^fuzz: \([0-9]* runs\).*/\1/p' "$log" | tail -n 1)"
    return 0
  fi
  local done_line runs
  done_line="$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true)"
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  echo "ok   $target: ${runs:-?} runs; ${done_line#*DONE   }"
}

failed=0
running=0
for target in "${targets[@]}"; do
  run "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit "$failed"
