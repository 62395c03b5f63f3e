#!/bin/bash
# Hears a program as a blind player does: starts a private desktop (Xvfb, a session D-Bus, the
# accessibility bus, openbox) with the Orca screen reader speaking into its debug log instead of a
# sound card, runs PROGRAM in it, plays the xdotool steps of STEPS and prints, step by step, what
# Orca said. STEPS: one xdotool argument list a line ("key ctrl+e"), "sleep N" to wait, "window
# TEXT" to wait (at most 30 s) until the focused window's title holds TEXT, and "# name" lines
# naming the step that follows. Ends with "=== program alive" or "=== program died".
# usage: hears.sh STEPS PROGRAM [ARG...]
# needs: orca xvfb xdotool openbox at-spi2-core dbus-x11 x11-utils
set -u
here=$(dirname "$(readlink -f "$0")")
steps=$1
shift
work=$(mktemp -d /tmp/korveth-hears.XXXXXX)
display=:$((90 + RANDOM % 60))
while [[ -e /tmp/.X11-unix/X${display#:} ]]; do display=:$((90 + RANDOM % 60)); done
export DISPLAY=$display HOME=$work/home XDG_RUNTIME_DIR=$work/run
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
unset QT_QPA_PLATFORM
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# Orca's settings: no braille (it would wait for a display that is not there), speech through the
# null module (speech-dispatcher without a sound device stops Orca from handling events), and a
# debug log written line by line.
mkdir -p "$work/prefs/orca-scripts" "$work/prefs/app-settings"
cp "$here/user-settings.conf" "$here/nullspeech.py" "$here/orca-customizations.py" "$work/prefs/"
touch "$work/prefs/__init__.py" "$work/prefs/orca-scripts/__init__.py"
pids=()
# Ends what it started and waits for it: an Orca still closing when the next run starts makes
# that run's Orca refuse to start (one Orca a user).
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    local n=0
    for p in "${pids[@]}"; do
        while kill -0 "$p" 2>/dev/null && ((n++ < 100)); do sleep 0.05; done
        kill -9 "$p" 2>/dev/null
    done
    [[ -n ${KORVETH_KEEP_ORCA_LOG:-} ]] && cp "$work/orca.log" "$KORVETH_KEEP_ORCA_LOG"
    rm -rf "$work"
}
trap cleanup EXIT
# Waits, at most thirty seconds, until the root window holds PROPERTY (any, when none is named).
# A fixed second was not always enough on a loaded machine: openbox started before the display
# was up found none and ended, and with no window manager no window got the focus back when
# another one closed.
rooted() {
    local n=0
    until xprop -root ${1:-} 2>/dev/null | grep -q "${2:-.}"; do
        ((++n > 600)) && { echo "=== the desktop did not start: ${1:-X}" >&2; return; }
        sleep 0.05
    done
}
# -noreset: a server left by its last client resets, and a client connecting then fails.
Xvfb "$display" -noreset -screen 0 1280x1024x24 >/dev/null 2>&1 &
pids+=($!)
rooted
eval "$(dbus-launch --sh-syntax)"
pids+=("$DBUS_SESSION_BUS_PID")
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
openbox >/dev/null 2>&1 &
pids+=($!)
rooted _NET_SUPPORTING_WM_CHECK "window id"
# One Orca for this display, ended by its process id: --replace would end every Orca of the user.
# Orca will not start beside another of the same user, so wait (ten seconds) for one to close.
n=0
while pgrep -u "$(id -u)" -x orca >/dev/null && ((n++ < 200)); do sleep 0.05; done
pgrep -u "$(id -u)" -x orca >/dev/null && echo "=== another Orca of this user is running" >&2
PYTHONPATH="$work/prefs" orca -u "$work/prefs" --debug-file="$work/orca.log" >/dev/null 2>&1 &
pids+=($!)
sleep 4
"$@" >"$work/program.log" 2>&1 &
program=$!
pids+=($program)
sleep 4
log=$work/orca.log
# Waits until Orca's log has been still for two seconds (at most twelve).
quiet() {
    local last cur n=0 still=0
    last=$(stat -c %s "$log")
    while ((n < 24)); do
        sleep 0.5
        n=$((n + 1))
        cur=$(stat -c %s "$log")
        if [[ $cur == "$last" ]]; then
            still=$((still + 1))
            ((still >= 4)) && break
        else
            still=0
            last=$cur
        fi
    done
}
# A loaded machine can take seconds to hand the focus back: a key sent before then is lost.
focused() {
    local n=0
    until xdotool getactivewindow getwindowname 2>/dev/null | grep -qF -- "$*"; do
        ((++n > 300)) && { echo "=== no focused window titled \"$*\""; return; }
        sleep 0.1
    done
}
said() {
    tail -c +$(($1 + 1)) "$log" | grep -a "SPEECH OUTPUT" \
        | sed -E "s/^[0-9:.]+ - SPEECH OUTPUT: //; s/\{'established'.*//; s/^'//; s/ *'$//"
}
label=start
quiet
mark=0
echo "=== $label"
said "$mark"
while IFS= read -r line; do
    [[ -z $line ]] && continue
    if [[ $line == \#* ]]; then
        label=${line#\# }
        continue
    fi
    quiet
    mark=$(stat -c %s "$log")
    if [[ $line == sleep* ]]; then
        $line
    elif [[ $line == window\ * ]]; then
        focused ${line#window }
    else
        eval "timeout 20 xdotool $line"
    fi
    sleep 1
    quiet
    echo "=== $label"
    said "$mark"
done <"$steps"
if kill -0 "$program" 2>/dev/null; then echo "=== program alive"; else echo "=== program died"; fi
