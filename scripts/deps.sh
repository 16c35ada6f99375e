#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing need, if any are
# missing. Run as root (or with sudo available).
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest
  wine64 xvfb x11-utils xserver-xephyr
  fonts-wine fonts-liberation2 locales
  imagemagick faketime
  clang-14 libclang-rt-14-dev clang-format
  nsis zip unzip
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "deps: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
