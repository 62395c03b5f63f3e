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
# vsce runs vscode:prepublish, which bundles the extension and its client library into one file.
npx vsce package --out korveth-script.vsix </dev/null
listing=$(python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' korveth-script.vsix)
for part in extension/dist/extension.js extension/package.json extension/syntaxes/korveth.tmLanguage.json \
            extension/language-configuration.json extension/LICENSE.txt; do
    grep -q "$part" <<<"$listing" || { echo "missing from the package: $part"; exit 1; }
done
# Only the extension's own files: no build leftovers, no unbundled modules.
for stray in node_modules npm.log package.sh extension/extension.js; do
    if grep -q "$stray" <<<"$listing"; then
        echo "in the package but not the extension's: $stray"
        exit 1
    fi
done
# A workspace's settings may not choose the program the extension starts.
node -e '
const p = require("./package.json");
const c = p.capabilities.untrustedWorkspaces;
if (!p.repository || !p.license) throw new Error("repository and license are needed");
if (!c.restrictedConfigurations.includes("korveth.serverPath")) throw new Error("serverPath not restricted");
if (!c.restrictedConfigurations.includes("korveth.debugAdapterPath")) throw new Error("debugAdapterPath not restricted");
if (!p.contributes.debuggers.some((d) => d.type === "korveth")) throw new Error("no debugger contributed");
'
# The bundle carries its client library: the only module it still asks for is vscode's own.
if grep -oE 'require\("[^"]+"\)' dist/extension.js | sort -u | grep -v -E '"(vscode|node:[a-z_/]+|child_process|crypto|fs|net|os|path|url|util|events|stream|assert|buffer|tty)"'; then
    echo "the bundle still needs the modules above"
    exit 1
fi
mkdir -p "$out"
cp korveth-script.vsix "$out"/
echo "packaged: $out/korveth-script.vsix"
