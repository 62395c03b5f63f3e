#!/usr/bin/env bash
# Installs what is missing (Debian packages), then configures and builds into build/.
# Usage: scripts/setup.sh [BUILD_DIR [extra cmake options...]]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
shift || true

packages=(cmake g++ make pkg-config libpcre2-dev qt6-base-dev libqscintilla2-qt6-dev qt6-qpa-plugins libgl-dev libbenchmark-dev)
# What a caller needs besides (the test suite: a screen reader and its private desktop).
read -ra extra <<<"${KORVETH_EXTRA_PACKAGES:-}"
packages+=("${extra[@]}")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j "$jobs"
