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

# Where the kernel runs no 32-bit programs, install-deps.sh has them run under qemu's user-mode
# emulation: several times slower, so the i386 build's tests get longer time limits. The ASan
# i386 build does not run there: under the emulation AddressSanitizer's i386 runtime cannot map
# its allocator and quarantine in the emulated address space, and LeakSanitizer cannot stop its
# threads; it runs wherever the kernel runs 32-bit programs.
i386_emulated=0
grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null && i386_emulated=1

# Each build: name::configure flags::the tests it runs (a ctest name pattern; all when empty).
# ThreadSanitizer has no i386 runtime, so the RTAS half runs under it only through its native
# tests.
builds=("native::::" "i386::-DCMAKE_TOOLCHAIN_FILE=$PWD/cmake/i386-toolchain.cmake::")
if [ "$sanitize" = 1 ]; then
  builds+=("asan::-DKESTRUNE_SANITIZE=ON::")
  if [ "$i386_emulated" = 1 ]; then
    echo "== asan-i386 build left out: i386 programs run under user-mode emulation on this machine"
  else
    builds+=("asan-i386::-DKESTRUNE_SANITIZE=ON -DCMAKE_TOOLCHAIN_FILE=$PWD/cmake/i386-toolchain.cmake::")
  fi
  builds+=("tsan::-DKESTRUNE_TSAN=ON -DKESTRUNE_BENCHMARKS=OFF::")
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
status=0
for entry in "${builds[@]}"; do
  name=${entry%%::*}
  rest=${entry#*::}
  flags=${rest%%::*}
  tests=${rest#*::}
  dir=build/$name
  if [ "$i386_emulated" = 1 ] && [[ "$name" == *i386 ]]; then
    flags="$flags -DKESTRUNE_TEST_TIMEOUT=3000"
  fi
  echo "== $name build"
  # shellcheck disable=SC2086
  cmake -S . -B "$dir" -G Ninja $flags >/dev/null
  cmake --build "$dir" -j "$(nproc)"
  ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" ${tests:+-R "$tests"} || status=1
done
exit $status
