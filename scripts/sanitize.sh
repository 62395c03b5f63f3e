#!/usr/bin/env bash
# Builds the program and its tests with ASan and UBSan (leak checks on) and runs the tests.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" "$root/build-asan" -DKORVETH_SANITIZE=ON -DKORVETH_BENCH=OFF
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$root/build-asan"
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" "$@"
