#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite with CTest, without a display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Orca and a private desktop (Xvfb, openbox, the accessibility bus) for the screen reader test,
# xprop for what the window manager reads, and the real clients of the integrations (Neovim,
# pre-commit), and MinGW-w64 with Wine for the Windows file-reading test.
KORVETH_EXTRA_PACKAGES="orca xvfb xdotool openbox at-spi2-core dbus-x11 x11-utils xauth neovim pre-commit git g++-mingw-w64-x86-64 wine64" "$root/scripts/setup.sh" "$root/build"
export QT_QPA_PLATFORM=offscreen
cd "$root/build"
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" "$@"
