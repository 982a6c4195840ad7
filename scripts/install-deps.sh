#!/usr/bin/env bash
# Installs everything the two builds need from Debian's packages.
# Idempotent: when every package is already there it prints nothing and exits 0.
set -euo pipefail

native_packages=(
  build-essential cmake ninja-build pkg-config git clang-format
  juce-modules-source juce-tools
  libgtest-dev libgmock-dev googletest libbenchmark-dev libhwy-dev
  libfreetype-dev libfontconfig1-dev libpng-dev zlib1g-dev libjpeg-dev
  libx11-dev libxext-dev libxrandr-dev libxinerama-dev libxcursor-dev libxtst-dev
  libasound2-dev
  xvfb xauth x11-apps
  g++-multilib gcc-multilib lib32asan8 lib32ubsan1
)
i386_packages=(
  libfreetype-dev:i386 libfontconfig1-dev:i386 libpng-dev:i386 zlib1g-dev:i386
  libjpeg-dev:i386 libx11-dev:i386 libxext-dev:i386 libxrandr-dev:i386
  libxinerama-dev:i386 libxcursor-dev:i386 libxtst-dev:i386 libgtest-dev:i386 libgmock-dev:i386
  libasound2-dev:i386 libhwy-dev:i386 libbenchmark-dev:i386
)

install_packages() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing ${#missing[@]} missing packages: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The i386 build's programs run on the machine itself: the i386 dynamic loader answers when the
# kernel runs 32-bit programs, or when user-mode emulation has been registered for them.
i386_programs_run() {
  /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

install_packages "${native_packages[@]}" "${i386_packages[@]}"

# A kernel without 32-bit support (some virtual machines) runs them through qemu's user-mode
# emulation, registered here with the kernel's binfmt_misc: Debian's qemu-user-binfmt has no i386
# entry on amd64, and no registering tool need be installed. The entry matches i386 ELF programs
# and shared objects (the kernel decodes the \x escapes); F opens the emulator at registration.
qemu_i386_entry=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F'
if ! i386_programs_run; then
  install_packages qemu-user
  if [ ! -e /proc/sys/fs/binfmt_misc/status ]; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    printf '%s' "$qemu_i386_entry" >/proc/sys/fs/binfmt_misc/register
  fi
  echo 1 >/proc/sys/fs/binfmt_misc/qemu-i386
  if ! i386_programs_run; then
    echo "install-deps: this machine runs no i386 programs, not even through qemu's user-mode emulation" >&2
    exit 1
  fi
  echo "install-deps: i386 programs run through qemu's user-mode emulation on this machine"
fi
