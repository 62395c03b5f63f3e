#!/usr/bin/env bash
# A hunting script (a loop of match lines and a matchwait) replayed by korveth-run against a
# generated 1,000,000-line log, beside `grep -c -F` looking for the same match texts in the same
# log (best of five each), and the run's peak memory at 1M and 2M log lines.
# Usage: bench/run_vs_grep.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

source "$(dirname "$0")/best_of_five.sh"
# Both write to a file: grep writing to /dev/null would stop at its first match.
TIMED_OUTPUT=$out/timed

printf 'hunt:\r\n  put attack\r\n  match hunt You miss\r\n  match dead You killed\r\n  match hunt Roundtime\r\n  matchwait\r\ndead:\r\n  counter add 1\r\n  goto hunt\r\n' > "$out/hunt.cmd"
for lines in 1000000 2000000; do
    "$build/bin/korveth-make-script" log "$lines" "$out/game.log"
    size=$(stat -c %s "$out/game.log")
    grep_s=$(seconds grep -c -F -e "You miss" -e "You killed" -e "Roundtime" "$out/game.log")
    run_s=$(seconds "$build/bin/korveth-run" --quiet --max-steps 100000000 --log "$out/game.log" "$out/hunt.cmd")
    peak=$( (/usr/bin/time -f %M "$build/bin/korveth-run" --quiet --max-steps 100000000 --log "$out/game.log" "$out/hunt.cmd" 2>&1 >/dev/null || true) | tail -1)
    printf '%8d log lines %5.1f MB: grep -c -F %.3f s, korveth-run %.3f s (%.1fx), peak %d MB\n' \
        "$lines" "$(echo "$size/1000000" | bc -l)" "$grep_s" "$run_s" "$(echo "$run_s/$grep_s" | bc -l)" "$((peak / 1024))"
done

# A crafting loop from the corpus (six actions, a pattern wait), when the corpus is beside the
# project, against the same 1,000,000 lines; grep looks for the six triggers' texts.
weave=$(dirname "$0")/../../shared/corpus/set-a/MC_Weave.cmd
if [[ -f $weave ]]; then
    "$build/bin/korveth-make-script" log 1000000 "$out/game.log"
    grep_s=$(seconds grep -c -F -e "dust and debris" -e "pushing together" -e "tight turn" \
        -e " loom" -e "type ahead" -e "Roundtime:" "$out/game.log")
    run_s=$(seconds "$build/bin/korveth-run" --quiet --max-steps 100000000 --log "$out/game.log" "$weave")
    printf 'MC_Weave, 1000000 log lines: grep -c -F %.3f s, korveth-run %.3f s (%.1fx)\n' \
        "$grep_s" "$run_s" "$(echo "$run_s/$grep_s" | bc -l)"
else
    echo "MC_Weave: skipped (no corpus beside the project)"
fi
