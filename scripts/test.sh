#!/usr/bin/env bash
# Installs what the build needs, configures the native and i386 builds, builds everything
# and runs every test in both. With --sanitize (CI passes it) the same tests run again in a
# native and an i386 build with AddressSanitizer and UndefinedBehaviorSanitizer, and in a
# native ThreadSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=0
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=1 ;;
    *) echo "usage: scripts/test.sh [--sanitize]" >&2; exit 2 ;;
  esac
done

bash scripts/install-deps.sh

# Each build: name::configure flags::the tests it runs (a ctest name pattern; all when empty).
# ThreadSanitizer has no i386 runtime, so the RTAS half runs under it only through its native
# tests.
builds=("native::::" "i386::-DCMAKE_TOOLCHAIN_FILE=$PWD/cmake/i386-toolchain.cmake::")
[ "$sanitize" = 1 ] && builds+=("asan::-DKESTRUNE_SANITIZE=ON::"
  "asan-i386::-DKESTRUNE_SANITIZE=ON -DCMAKE_TOOLCHAIN_FILE=$PWD/cmake/i386-toolchain.cmake::"
  "tsan::-DKESTRUNE_TSAN=ON -DKESTRUNE_BENCHMARKS=OFF::")

# Where the kernel runs no 32-bit programs, install-deps.sh has them run under qemu's user-mode
# emulation: several times slower, so those builds' tests get longer time limits, and without
# LeakSanitizer, whose stop-the-world thread the emulation cannot start.
i386_emulated=0
grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null && i386_emulated=1

leak_checks=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
status=0
for entry in "${builds[@]}"; do
  name=${entry%%::*}
  rest=${entry#*::}
  flags=${rest%%::*}
  tests=${rest#*::}
  dir=build/$name
  export ASAN_OPTIONS=$leak_checks
  if [ "$i386_emulated" = 1 ] && [[ "$name" == *i386 ]]; then
    flags="$flags -DKESTRUNE_TEST_TIMEOUT=3000"
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  fi
  echo "== $name build"
  # shellcheck disable=SC2086
  cmake -S . -B "$dir" -G Ninja $flags >/dev/null
  cmake --build "$dir" -j "$(nproc)"
  ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" ${tests:+-R "$tests"} || status=1
done
exit $status
