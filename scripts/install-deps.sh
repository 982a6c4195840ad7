#!/usr/bin/env bash
# Installs everything the two builds need from Debian's packages.
# Idempotent: when every package is already there it prints nothing and exits 0.
set -euo pipefail

native_packages=(
  build-essential cmake ninja-build pkg-config git clang-format
  juce-modules-source juce-tools
  libgtest-dev libgmock-dev googletest libbenchmark-dev libhwy-dev
  libfreetype-dev libfontconfig1-dev libpng-dev zlib1g-dev libjpeg-dev
  libx11-dev libxext-dev libxrandr-dev libxinerama-dev libxcursor-dev
  libasound2-dev
  xvfb xauth x11-apps
  g++-multilib gcc-multilib lib32asan8 lib32ubsan1
)
i386_packages=(
  libfreetype-dev:i386 libfontconfig1-dev:i386 libpng-dev:i386 zlib1g-dev:i386
  libjpeg-dev:i386 libx11-dev:i386 libxext-dev:i386 libxrandr-dev:i386
  libxinerama-dev:i386 libxcursor-dev:i386 libgtest-dev:i386 libgmock-dev:i386
  libasound2-dev:i386 libhwy-dev:i386 libbenchmark-dev:i386
)

missing=()
for pkg in "${native_packages[@]}" "${i386_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing ${#missing[@]} missing packages: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
