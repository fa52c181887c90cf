# Shared by the scripts' --platform windows: the cross build into build-windows/ and
# Wine with a prefix of the run's own. Sourced, not run.

# windows_build ROOT BUILD_DIR [targets...]
windows_build() {
  local root="$1" build_dir="$2"
  shift 2
  local sysroot
  sysroot="$("$root/scripts/setup-windows.sh" | tail -n 1)"
  # A new sysroot (the set-up script changed) invalidates every library path the
  # cache found in the old one.
  local marker="$build_dir/orv-windows-sysroot"
  if [ -f "$build_dir/CMakeCache.txt" ] && [ "$(cat "$marker" 2>/dev/null)" != "$sysroot" ]; then
    rm -rf "$build_dir/CMakeCache.txt" "$build_dir/CMakeFiles"
  fi
  mkdir -p "$build_dir"
  echo "$sysroot" >"$marker"
  local launcher=()
  if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$root" -B "$build_dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
    -DORV_WINDOWS_SYSROOT="$sysroot" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" \
    "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" \
    -DORV_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
  local jobs
  jobs="$(nproc 2>/dev/null || echo 2)"
  cmake --build "$build_dir" --parallel "$jobs" ${1:+--target "$@"}
}

# windows_wine COMMAND...: a Wine command without address-space randomisation,
# as CTest runs the tests (cmake/toolchain-mingw64.cmake says why).
windows_wine() {
  if command -v setarch >/dev/null 2>&1; then
    setarch x86_64 -R "$@"
  else
    "$@"
  fi
}

# windows_wine_start BUILD_DIR: one wineserver for the whole run (a process then
# starts in a tenth of the time), in a prefix inside the build folder, stopped when
# the calling script exits.
windows_wine_start() {
  export WINEPREFIX="$1/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES='mscoree,mshtml='
  mkdir -p "$WINEPREFIX"
  # A server left by an interrupted run of this build holds the prefix: end it.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wineserver -p
  trap 'wineserver -k 2>/dev/null || true' EXIT
  # The first start creates the prefix and starts Wine's services (services.exe,
  # winedevice.exe, ...), which inherit the standard output and error of the
  # process that starts them. Started here, with those on /dev/null: started by
  # a test program, they would hold CTest's pipe open, and CTest would wait for
  # the test (or its listing) until its time-out.
  windows_wine wineboot -i >/dev/null 2>&1 || true
}
