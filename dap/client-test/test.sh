#!/usr/bin/env bash
# Drives korveth-dap with @vscode/debugadapter-testsupport, the client VS Code's adapter authors
# test with: breakpoints in an included script, line 1, scopes per frame, an exception stop, pause
# and disconnect during a long wait, an unknown dialect.
# Usage: dap/client-test/test.sh KORVETH_DAP   (exit 77: npm or its registry is not at hand)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
adapter=$(realpath "$1")
command -v npm >/dev/null || { echo "npm is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here"/package.json "$here"/package-lock.json "$here"/client.test.js "$work"/
cd "$work"
if ! npm ci --no-audit --no-fund >npm.log 2>&1; then
    npm ping >/dev/null 2>&1 || { echo "the npm registry cannot be reached"; exit 77; }
    cat npm.log
    exit 1
fi
node client.test.js "$adapter"
