#!/bin/bash
# What a blind player hears, through Orca, working a script by keyboard: each line whole as the
# caret arrives, a mistake line's verdict, Next Mistake, a breakpoint, a pause of the dry run, and
# a review of the debugger's report that leaves the editor running.
# The review keys go slowly: Qt hands a key to the program itself when the screen reader has not
# answered within 100 ms, and Orca busy reading a line is that slow, so a review key sent hard on
# another's heels can page the report instead.
# usage: what-a-player-hears.sh EDITOR          exit 77 (skipped) without Orca and its desktop
set -u
editor=$1
here=$(dirname "$(readlink -f "$0")")
for tool in orca Xvfb xdotool xprop openbox dbus-launch /usr/libexec/at-spi-bus-launcher; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/setup.sh installs it)"
        exit 77
    fi
done
work=$(mktemp -d /tmp/korveth-player.XXXXXX)
trap 'rm -rf "$work"' EXIT
printf 'put stow left\r\ngoto sti\r\necho hello there\r\nstart:\r\nput look\r\n' >"$work/hunt.cmd"
# The start page first; then the script.
cat >"$work/steps" <<'STEPS'
key Escape
sleep 2
# down onto a mistake
key Down
# down onto a good line
key Down
# next mistake
key ctrl+e
# the script runner
key F5
window Script Runner
# a breakpoint
key F9
# a step
key F8
# closing the runner
key Escape
window hunt.cmd - Korveth Script Editor
# the script debugger
key ctrl+d
window Script Debugger
# review the report
key --delay 800 KP_Up KP_Prior KP_Next KP_Next ctrl+KP_Next
STEPS
"$here/hears.sh" "$work/steps" "$editor" "$work/hunt.cmd" >"$work/heard"
cat "$work/heard"

# What each step must have said (fixed strings, all of them, in the step's speech).
declare -A expected=(
    ["start"]="put stow left."
    ["down onto a mistake"]="goto sti|Mistake: Goto Command recognised. Label not found."
    ["down onto a good line"]="echo hello there"
    ["next mistake"]="Goto Command recognised. Label not found."
    ["a breakpoint"]="Breakpoint set on line 2."
    ["a step"]="Paused. Next: line 2: goto sti"
    ["the script debugger"]="Script Debugger|put stow left - Put Command recognised."
    ["review the report"]="goto sti - Goto Command recognised. Label not found."
    ["program alive"]=""
)
failed=0
for step in "${!expected[@]}"; do
    speech=$(awk -v step="=== $step" '$0 == step {on = 1; next} /^=== / {on = 0} on' "$work/heard")
    if ! grep -qx "=== $step" "$work/heard"; then
        echo "FAIL: no step \"$step\""
        failed=1
        continue
    fi
    IFS='|' read -ra phrases <<<"${expected[$step]}"
    for phrase in "${phrases[@]}"; do
        if ! grep -qF -- "$phrase" <<<"$speech"; then
            echo "FAIL: \"$step\" did not say \"$phrase\""
            failed=1
        fi
    done
done
# Moving along a good line says no verdict.
if awk '$0 == "=== down onto a good line" {on = 1; next} /^=== / {on = 0} on' "$work/heard" \
    | grep -q "Mistake:"; then
    echo "FAIL: a line without a mistake was given a verdict"
    failed=1
fi
exit $failed
