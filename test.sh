#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# With --sanitize, builds and runs the tests under the address and
# undefined-behaviour sanitizers instead (in build-sanitize/). Both builds
# keep Q_ASSERT on, so the tests check the stated invariants.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
if [ "${1:-}" = --sanitize ]; then
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCIHAZ_SANITIZE=ON -DCIHAZ_ASSERTS=ON >/dev/null
  # The program and its icons too: the installation test installs them.
  cmake --build build-sanitize --target tests_platform tests_tray tests_grid tests_app tests_device \
    cihaz-test program-icon-files
  cd build-sanitize
else
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCIHAZ_ASSERTS=ON >/dev/null
  cmake --build build
  cd build
fi
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
