#!/usr/bin/env bash
# Builds OpticCalc and starts it, with Lang.ini beside the executable.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target OpticCalc
exec ./build/bin/OpticCalc
