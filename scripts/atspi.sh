#!/usr/bin/env bash
# What a screen reader hears in one of the editor's windows: starts the editor on a script in its
# own D-Bus session, AT-SPI bus and X server, and runs scripts/atspi_tree.py against it.
# Usage: scripts/atspi.sh SCRIPT MENU_ITEM WINDOW_TITLE [atspi_tree.py options]
# Example: scripts/atspi.sh hunt.cmd "Script Runner" "Script Runner" --set Log:=game.log \
#              --press "Step Into" --times 3
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ -z "${KORVETH_ATSPI_INSIDE:-}" ]; then
    for package in at-spi2-core python3-pyatspi xvfb xauth dbus; do
        dpkg -s "$package" >/dev/null 2>&1 || apt-get install -y -q "$package" >/dev/null
    done
    export KORVETH_ATSPI_INSIDE=1
    exec dbus-run-session -- xvfb-run -a "$0" "$@" 2> >(grep -v 'fd limit\|dbus-daemon\|SpiRegistry\|X connection' >&2)
fi
script=$1
shift
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
sleep 1
"$root/build/bin/korveth-editor" "$script" >/dev/null 2>&1 &
editor=$!
sleep 3
/usr/bin/python3 "$root/scripts/atspi_tree.py" "$@" || true
kill "$editor" "$bus" 2>/dev/null || true
