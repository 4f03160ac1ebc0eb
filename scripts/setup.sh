#!/usr/bin/env bash
# Installs what building, running and testing OpticCalc needs on Debian 12,
# and nothing when it is already there, so it can run again without harm.
# Arguments name further packages a script needs (clang for fuzzing, ...).
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
    fonts-liberation
    qt6-translations-l10n
    xvfb xauth
    poppler-utils
    xdotool xclip imagemagick python3
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
