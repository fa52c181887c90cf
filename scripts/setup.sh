#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
#   setup.sh [extra packages...]   (a check that needs more, such as clang)
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  libboost-dev libboost-filesystem-dev libboost-thread-dev libboost-date-time-dev
  libboost-system-dev libboost-chrono-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libxml2-dev libpng-dev libaravis-dev libusb-1.0-0-dev libspdlog-dev
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
  else
    echo "error: missing packages (${missing[*]}) and no root rights to install them" >&2
    exit 1
  fi
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
