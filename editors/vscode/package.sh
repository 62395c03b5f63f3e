#!/usr/bin/env bash
# Builds the extension's .vsix from a copy of this folder, with packages from the npm registry,
# and checks what went into it.
# Usage: editors/vscode/package.sh [OUT_DIR]   (exit 77: npm or its registry is not at hand)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here}
command -v npm >/dev/null || { echo "npm is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here"/package.json "$here"/package-lock.json "$here"/extension.js \
   "$here"/language-configuration.json "$here"/LICENSE "$here"/README.md "$here"/.vscodeignore "$work"/
cp -r "$here"/syntaxes "$work"/
cd "$work"
if ! npm ci --no-audit --no-fund >npm.log 2>&1; then
    if ! npm ping >/dev/null 2>&1; then
        echo "the npm registry cannot be reached"
        exit 77
    fi
    cat npm.log
    exit 1
fi
npx vsce package --out korveth-script.vsix
listing=$(python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' korveth-script.vsix)
for part in extension/extension.js extension/package.json extension/syntaxes/korveth.tmLanguage.json \
            extension/language-configuration.json extension/node_modules/vscode-languageclient/; do
    grep -q "$part" <<<"$listing" || { echo "missing from the package: $part"; exit 1; }
done
mkdir -p "$out"
cp korveth-script.vsix "$out"/
echo "packaged: $out/korveth-script.vsix"
