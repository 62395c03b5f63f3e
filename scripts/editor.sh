#!/usr/bin/env bash
# Sets up, builds and starts the editor; arguments (a script path, say) pass through to it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" "$root/build"
exec "$root/build/bin/korveth-editor" "$@"
