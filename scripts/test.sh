#!/usr/bin/env bash
# Builds and runs every test twice: a normal build, and a build with
# AddressSanitizer + UndefinedBehaviorSanitizer (leaks fail the tests).
# Starts its own Xvfb for the X11 tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
jobs=$(nproc)

display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/tmp/velkaro-xvfb.log 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
export DISPLAY=$display

status=0
run_suite() {
  local dir=$1; shift
  echo "== $dir: configure and build"
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  echo "== $dir: tests"
  (cd "$dir" && ctest --output-on-failure -j "$jobs") || status=1
}
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DVELKARO_SANITIZE=ON -DVELKARO_BUILD_BENCH=OFF
exit $status
