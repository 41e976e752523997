#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
# As root it runs apt-get; otherwise it names what is missing and leaves it to the user.
#   scripts/setup-packages.sh            what the Linux build, the tests and the demo need
#   scripts/setup-packages.sh --windows  what the Windows cross build and its tests under Wine need
set -euo pipefail
if [ "${1:-}" = "--windows" ]; then
  packages=(cmake ninja-build g++-mingw-w64-x86-64-posix libgtest-dev libgmock-dev libeigen3-dev
            wine wine64 curl zip)
else
  packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
            libeigen3-dev libpugixml-dev lrzsz clang-format xvfb xauth x11-apps imagemagick)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
