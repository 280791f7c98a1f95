#!/usr/bin/env bash
# Installs the Debian packages that are missing: those of the build and the
# tests (locales: the tests make a comma-decimal C library locale from its
# Turkish source; desktop-file-utils: the installation test checks the
# desktop entry; dpkg-dev: the Debian package's dependencies; help2man: the
# manual pages; man-db, appstream and lintian: the checks of the manual
# pages, the AppStream file and the package; libqt6sql6-sqlite: the test
# record; poppler-utils: the report test reads the PDF back), and with "run"
# also those of run.sh's virtual display.
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libgl1-mesa-dev
          libgtest-dev libgmock-dev libbenchmark-dev libasound2-dev libspandsp-dev
          qt6-serialport-dev pkg-config libjpeg62-turbo
          fonts-liberation fonts-dejavu-core clang-format locales desktop-file-utils dpkg-dev
          help2man man-db appstream lintian libqt6sql6-sqlite poppler-utils)
if [ "${1:-}" = run ]; then
  packages+=(xvfb xauth x11-utils imagemagick)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
