# Sourced by the benchmark scripts: `seconds COMMAND...` prints the best of five runs' wall time.
# The machine's noise only ever adds time, so the best run is the truest. Output goes to
# /dev/null, or to the file $TIMED_OUTPUT names: GNU grep notices /dev/null and stops at its first
# match, so a timed grep must write to a file.
seconds() {
    local best= sink=${TIMED_OUTPUT:-/dev/null}
    for _ in 1 2 3 4 5; do
        local s=$(date +%s.%N)
        "$@" >"$sink" || true
        local t=$(echo "$(date +%s.%N) - $s" | bc)
        if [ -z "$best" ] || [ "$(echo "$t < $best" | bc)" = 1 ]; then best=$t; fi
    done
    echo "$best"
}
