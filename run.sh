#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts Cihaz Test with its
# built-in simulated device. Without a display the program runs on a virtual
# one: once the device has connected, the screen is saved to
# build/screenshot.png and the program ends.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target cihaz-test

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/cihaz-test
fi

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

./build/cihaz-test &
program=$!
# The window appears, then the first 500 ms poll finds the simulated device.
for _ in $(seq 100); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Cihaz Test"' && break
  kill -0 "$program" 2>/dev/null || { echo "cihaz-test ended early" >&2; exit 1; }
  sleep 0.1
done
sleep 2
import -window root build/screenshot.png
echo "Screenshot of the running program: build/screenshot.png"
