#!/usr/bin/env bash
# Installs what is missing, builds the native configuration and runs the host tool on its
# built-in example. Extra arguments replace the demo: scripts/run.sh info --set Ratio=1
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/native -G Ninja >/dev/null
cmake --build build/native --target kestrune-host -j "$(nproc)" >/dev/null
if [ $# -eq 0 ]; then
  set -- demo "$PWD/build/demo"
fi
exec build/native/host/tool/kestrune-host "$@"
