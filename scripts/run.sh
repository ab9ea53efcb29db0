#!/usr/bin/env bash
# Builds Velkaro and runs it: real windows on $DISPLAY, or, without a display,
# a run on the headless screen that saves its pictures and says where.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target velkaro -j "$(nproc)"
if [ -n "${DISPLAY:-}" ]; then
  exec ./build/app/velkaro "$@"
fi
mkdir -p out
exec ./build/app/velkaro --headless --screenshot out/velkaro-start.png "$@"
