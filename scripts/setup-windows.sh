#!/usr/bin/env bash
# Prepares the Windows x64 cross build: installs MinGW-w64 and Wine from Debian's
# packages and builds the libraries Debian has no MinGW build of (Boost.Thread,
# Boost.Chrono, Boost.Filesystem, libpng, libxml2, GoogleTest) from Debian's source
# packages into a sysroot. The sysroot is cached outside the clone, keyed by a hash
# of this script, so a second run only checks and prints its path.
#   setup-windows.sh            prints the sysroot's path as its last line
# ORV_WINDOWS_DEPS overrides the cache folder.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
triplet=x86_64-w64-mingw32
cc="$triplet-gcc-posix"
cxx="$triplet-g++-posix"

log() { echo "setup-windows: [$SECONDS s] $*" >&2; }

packages=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine64 binutils-mingw-w64-x86-64 dpkg-dev cmake ninja-build xz-utils
  libboost1.74-dev googletest
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  log "installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi

# The default win32 thread model of GCC 12 has no std::mutex or std::thread, hence
# the -posix compilers; say so early rather than through a confusing compile error.
command -v "$cxx" >/dev/null || { log "error: $cxx not found"; exit 1; }

hash="$(sha256sum <"$0" | cut -c1-12)"
cache="${ORV_WINDOWS_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/orvento-windows-deps}"
prefix="$cache/$hash"
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

log "building the Windows dependencies into $prefix (a few minutes, once)"
# Builds for earlier versions of this script are of no more use.
find "$cache" -mindepth 1 -maxdepth 1 ! -name "$hash" -exec rm -rf {} + 2>/dev/null || true
rm -rf "$prefix"
work="$cache/work-$hash"
rm -rf "$work"
mkdir -p "$work/src" "$prefix/include" "$prefix/lib"

# Debian's source packages need a deb-src entry for the main archive's suites (the
# security archive serves no sources here).
if ! apt-get source --download-only --print-uris libpng1.6 >/dev/null 2>&1; then
  sources=/etc/apt/sources.list.d/orvento-deb-src.sources
  log "adding $sources"
  awk 'BEGIN { RS = ""; ORS = "\n\n" } !/security/ { sub(/Types: deb/, "Types: deb-src"); print }' \
    /etc/apt/sources.list.d/debian.sources | grep -v '^#' | $sudo tee "$sources" >/dev/null
  $sudo apt-get update -qq
fi
(cd "$work/src" && apt-get source --download-only boost1.74 libpng1.6 libxml2 >/dev/null 2>&1)

jobs="$(nproc 2>/dev/null || echo 2)"
cross_cmake=(
  -G Ninja -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_SYSTEM_NAME=Windows
  -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx"
  -DCMAKE_RC_COMPILER="$triplet-windres"
  -DCMAKE_FIND_ROOT_PATH="$prefix;/usr/$triplet"
  -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY
  -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY
  -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY
  -DCMAKE_INSTALL_PREFIX="$prefix"
  -DBUILD_SHARED_LIBS=OFF
)

# Boost: the headers from libboost1.74-dev as they are (a folder holding only the
# boost link, never /usr/include itself); System and DateTime are header-only.
ln -sfn /usr/include/boost "$prefix/include/boost"
log "Boost.Thread, Boost.Chrono, Boost.Filesystem"
tar -C "$work" -xJf "$work/src"/boost1.74_*.orig.tar.xz \
  boost/libs/thread/src boost/libs/chrono/src boost/libs/filesystem/src
boost_lib() {
  local name="$1" defines="$2"
  shift 2
  local objects=()
  mkdir -p "$work/obj/$name"
  for source in "$@"; do
    local object="$work/obj/$name/$(basename "$source" .cpp).o"
    "$cxx" -std=c++17 -O2 -w -DNDEBUG $defines -I"$prefix/include" -c "$source" -o "$object" &
    objects+=("$object")
    # Two compilers at a time: the machine is shared.
    if [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; then wait -n; fi
  done
  wait
  "$triplet-ar" rcs "$prefix/lib/libboost_$name.a" "${objects[@]}"
}
libs="$work/boost/libs"
boost_lib chrono "-DBOOST_CHRONO_STATIC_LINK -DBOOST_ALL_NO_LIB" "$libs"/chrono/src/*.cpp
boost_lib thread "-DBOOST_THREAD_BUILD_LIB -DBOOST_ALL_NO_LIB" \
  "$libs"/thread/src/win32/thread.cpp "$libs"/thread/src/win32/thread_primitives.cpp \
  "$libs"/thread/src/win32/tss_pe.cpp "$libs"/thread/src/future.cpp
boost_lib filesystem "-DBOOST_FILESYSTEM_STATIC_LINK -DBOOST_ALL_NO_LIB" \
  "$libs"/filesystem/src/*.cpp
# FindBoost reads the version from the headers and needs no more than the archives.

log "libpng"
tar -C "$work" -xzf "$work/src"/libpng1.6_*.orig.tar.gz
cmake -S "$work"/libpng-1.6.* -B "$work/build-png" "${cross_cmake[@]}" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_LIBRARY="/usr/$triplet/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$triplet/include" >/dev/null
cmake --build "$work/build-png" --parallel "$jobs" --target install >/dev/null

log "libxml2"
tar -C "$work" -xJf "$work/src"/libxml2_*.orig.tar.xz
# The parser, the tree and the output are all ORGenApi uses; the rest stays out.
xml_off=(ICONV LZMA ZLIB PYTHON TESTS PROGRAMS HTTP FTP MODULES LEGACY DEBUG C14N CATALOG
  HTML ISO8859X PATTERN READER REGEXPS SCHEMAS SCHEMATRON VALID WRITER XINCLUDE XPATH XPTR
  ICU AUTOMATA EXPR UNICODE)
cmake -S "$work"/libxml2-2.* -B "$work/build-xml" "${cross_cmake[@]}" \
  $(printf -- '-DLIBXML2_WITH_%s=OFF ' "${xml_off[@]}") -DLIBXML2_WITH_THREADS=ON >/dev/null
cmake --build "$work/build-xml" --parallel "$jobs" --target install >/dev/null

log "GoogleTest"
cmake -S /usr/src/googletest -B "$work/build-gtest" "${cross_cmake[@]}" \
  -DBUILD_GMOCK=OFF -Dgtest_force_shared_crt=OFF -DINSTALL_GTEST=ON >/dev/null
cmake --build "$work/build-gtest" --parallel "$jobs" --target install >/dev/null

rm -rf "$work"
touch "$prefix/.complete"
log "done"
echo "$prefix"
