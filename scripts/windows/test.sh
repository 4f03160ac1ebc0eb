#!/usr/bin/env bash
# Builds the Windows version (scripts/windows/build.sh) and runs every test
# under Wine through ctest: the Qt Test suite on the offscreen platform, the
# command line, and the end-to-end runs of OpticCalc.exe and of its
# installer on an X server of their own.
#
#   scripts/windows/test.sh [--qt DIR]       (or OPTICCALC_WINDOWS_QT=DIR)
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/windows/build.sh "$@"
source scripts/windows/env.sh
windows_parse_qt_option "$@"
windows_wine_prefix
ctest --preset windows --parallel 2
