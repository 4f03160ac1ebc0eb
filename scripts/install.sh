#!/usr/bin/env bash
# Builds the Debian package in Release (build-release/) and installs it with
# apt, which fetches the libraries it depends on. Works as root and as a user
# (through sudo), and needs no version number typed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh dpkg-dev
cmake --preset release >/dev/null
rm -f build-release/opticcalc_*.deb
cmake --build --preset release --target package
deb=$(ls build-release/opticcalc_*.deb)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y "./$deb"
echo "installed: $deb"
