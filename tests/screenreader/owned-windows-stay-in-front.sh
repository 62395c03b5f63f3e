#!/bin/bash
# The windows that belong to the main window carry WM_TRANSIENT_FOR, the property a window manager
# reads to keep them in front of it: checked on a private X display under openbox, with xprop.
# And a message raised by Options (a colour refused as too faint) gives the keyboard back to
# Options, not to the script behind it.
# usage: owned-windows-stay-in-front.sh EDITOR     exit 77 (skipped) without Xvfb, openbox, xdotool, xprop
set -u
editor=$1
for tool in xvfb-run openbox xdotool xprop; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d /tmp/korveth-owned.XXXXXX)
trap 'rm -rf "$work"' EXIT
printf 'put x\r\n' >"$work/owned.cmd"
unset QT_QPA_PLATFORM
export HOME=$work XDG_RUNTIME_DIR=$work
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    openbox >/dev/null 2>&1 &
    for _ in $(seq 200); do   # until openbox manages the display
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.05
    done
    "$0" "$1" >/dev/null 2>&1 &
    sleep 3
    main() { xdotool search --name "owned.cmd - Korveth" | head -1; }
    xdotool key Escape; sleep 1            # the start page
    xdotool key ctrl+d; sleep 2            # the Script Debugger
    xdotool windowactivate "$(main)"; sleep 1
    xdotool key F5; sleep 2                # the Script Runner
    owner=$(printf "0x%x" "$(main)")
    for name in "Script Debugger" "Script Runner"; do
        id=$(xdotool search --name "$name" | head -1)
        [ -n "$id" ] || { echo "FAIL: no $name window"; continue; }
        transient=$(xprop -id "$id" WM_TRANSIENT_FOR | grep -o "0x[0-9a-f]*")
        [ "$transient" = "$owner" ] && echo "ok: $name" || echo "FAIL: $name is transient for \"$transient\", not $owner"
    done
    xdotool windowactivate "$(main)"; sleep 1
    xdotool key alt+v; sleep 0.5; xdotool key o; sleep 2
    xdotool key Tab Tab Tab Tab Tab Tab space; sleep 2          # the first colour'"'"'s Change...
    xdotool key alt+h ctrl+a; xdotool type "#fffff0"; xdotool key Return; sleep 2
    xdotool key Return; sleep 2                                 # OK on the message
    active=$(xdotool getactivewindow getwindowname)
    [ "$active" = Options ] && echo "ok: Options has the keyboard back" || echo "FAIL: \"$active\" has the keyboard after the message, not Options"
    kill %2 %1 2>/dev/null' "$editor" "$work/owned.cmd" >"$work/out" 2>/dev/null
cat "$work/out"
grep -q FAIL "$work/out" && exit 1
[ "$(grep -c '^ok:' "$work/out")" = 3 ]
