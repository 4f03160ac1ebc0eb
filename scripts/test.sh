#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test through ctest.
# An argument names another configure preset, e.g. "asan" for the build with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-ci}"
bash scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
# CMAKE_BUILD_PARALLEL_LEVEL limits the build's jobs, CTEST_PARALLEL_LEVEL the tests'.
QT_QPA_PLATFORM=offscreen ctest --preset "$preset" --parallel "${CTEST_PARALLEL_LEVEL:-2}"
