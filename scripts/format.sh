#!/usr/bin/env bash
# Formats every C++ file of ours with clang-format and the project's .clang-format (JUCE's style).
# With --check it changes nothing: it lists the files that differ and exits 1 when there are any.
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
for arg in "$@"; do
  case "$arg" in
    --check) check=1 ;;
    *) echo "usage: scripts/format.sh [--check]" >&2; exit 2 ;;
  esac
done

command -v clang-format >/dev/null || { echo "clang-format is missing: run scripts/install-deps.sh" >&2; exit 2; }

mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -v '^build/')
[ ${#files[@]} -gt 0 ] || exit 0

if [ "$check" = 0 ]; then
  printf '%s\0' "${files[@]}" | xargs -0 -P "$(nproc)" -n 32 clang-format -i
  exit 0
fi

differing=()
for file in "${files[@]}"; do
  [ -f "$file" ] || continue
  clang-format "$file" | cmp -s - "$file" || differing+=("$file")
done
if [ ${#differing[@]} -gt 0 ]; then
  printf '%s\n' "${differing[@]}"
  echo "${#differing[@]} file(s) differ from the project's style: run scripts/format.sh" >&2
  exit 1
fi
