#!/usr/bin/env bash
# Runs a Windows program under Wine with the environment it would see on
# Windows. Wine keeps the Unix QT_* variables (meant for the Unix Qt) away
# from Windows programs and passes WINEQT_* ones on as QT_*, so the QT_*
# variables given here (the platform, the scale factor) become WINEQT_*.
#
# Usage: wine.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
while IFS='=' read -r name _; do
    [[ $name == QT_* ]] && export "WINE$name=${!name}"
done < <(env)
exec wine "$@"
