#!/usr/bin/env bash
# Cross-builds OpticCalc for 64-bit Windows on Debian 12 with MinGW-w64 and
# a Qt for MinGW-w64, into build-windows/, with the tests, and makes the zip
# and the installer there (cpack: ZIP and NSIS).
#
#   scripts/windows/build.sh [--qt DIR]      (or OPTICCALC_WINDOWS_QT=DIR)
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/windows/env.sh
windows_parse_qt_option "$@"
windows_setup
cmake --preset windows >/dev/null
cmake --build --preset windows
rm -f build-windows/OpticCalc-*-win64.*
(cd build-windows && cpack -G "ZIP;NSIS" >/dev/null)
for package in build-windows/OpticCalc-*-win64.{zip,exe}; do
    echo "$package: $(du -k "$package" | cut -f1) KiB"
done
