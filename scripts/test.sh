#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset ci >/dev/null
cmake --build --preset ci
QT_QPA_PLATFORM=offscreen ctest --preset ci --parallel 2
