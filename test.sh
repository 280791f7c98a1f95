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
  # The programs, icons and manual pages too: the installation and package
  # tests install them, and the generator's test runs it.
  cmake --build build-sanitize --target tests_platform tests_tray tests_grid tests_app tests_device \
    cihaz-test cid-generate program-icon-files package-files
  cd build-sanitize
else
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCIHAZ_ASSERTS=ON >/dev/null
  cmake --build build
  cd build
fi
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
