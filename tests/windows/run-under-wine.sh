#!/bin/bash
# Builds the Windows file-reading test with MinGW-w64 and runs it under Wine.
# usage: run-under-wine.sh SOURCE_DIR      exit 77 (skipped) without MinGW-w64 or Wine
set -u
src=$1
compiler=$(command -v x86_64-w64-mingw32-g++)
wine=$(command -v wine64 || command -v wine || ls /usr/lib/wine/wine64 2>/dev/null)
[ -n "$compiler" ] || { echo "SKIP: MinGW-w64 (g++-mingw-w64-x86-64) is not installed"; exit 77; }
[ -n "$wine" ] || { echo "SKIP: Wine (wine64) is not installed"; exit 77; }
work=$(mktemp -d /tmp/korveth-wine.XXXXXX)
trap 'WINEPREFIX=$work/prefix wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
"$compiler" -std=c++20 -O1 -Wall -Wextra -Werror -static -I"$src/core" \
    "$src/tests/windows/regular_file_test.cpp" "$src/core/NativeFile.cpp" -o "$work/test.exe" || exit 1
HOME=$work WINEDEBUG=-all WINEPREFIX=$work/prefix timeout 300 "$wine" "$work/test.exe" 2>/dev/null | tr -d '\r'
exit "${PIPESTATUS[0]}"
